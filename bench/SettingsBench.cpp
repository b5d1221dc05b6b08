// How long the profile files take to write and read, beside the floor of
// writing the same bytes with one write() per file.
#include "settings/IniFile.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/ProfileFile.h"
#include "settings/WorkingSet.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace vantrel;

namespace {

struct Workspace {
    std::string folder;
    std::unique_ptr<SharedBlock> settings = std::make_unique<SharedBlock>();

    Workspace() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
        folder = std::string(::mkdtemp(pattern.data())) + "/";
        resetAllProfiles(*settings, LanguageStrings());
        WorkingSet(folder).writeWorkingSet(*settings, 0);
    }
    ~Workspace() { std::filesystem::remove_all(folder); }
};

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void BM_writeProfile(benchmark::State& state) {
    Workspace ws;
    const std::string path = WorkingSet(ws.folder).profilePath(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(writeProfile(path, ws.settings->profiles[0]));
}
BENCHMARK(BM_writeProfile)->Unit(benchmark::kMicrosecond);

void BM_readProfile(benchmark::State& state) {
    Workspace ws;
    const std::string path = WorkingSet(ws.folder).profilePath(0);
    auto profile = std::make_unique<ProfileRecord>();
    for (auto _ : state) {
        readProfile(path, *profile);
        benchmark::DoNotOptimize(profile->LtSwitch);
    }
}
BENCHMARK(BM_readProfile)->Unit(benchmark::kMicrosecond);

void BM_writeWorkingSet(benchmark::State& state) {
    Workspace ws;
    const WorkingSet files(ws.folder);
    int32_t n = 0;
    for (auto _ : state) {
        // Something new for every file, or the saves would find nothing to write.
        ++n;
        for (ProfileRecord& profile : ws.settings->profiles)
            profile.Color[0][0] = n;
        benchmark::DoNotOptimize(files.writeWorkingSet(*ws.settings, n));
    }
}
BENCHMARK(BM_writeWorkingSet)->Unit(benchmark::kMicrosecond);

// The floor: the bytes that writeWorkingSet leaves on disk, written durably
// with one open, write, fsync and close per file.
void BM_writeWorkingSetFloor(benchmark::State& state) {
    Workspace ws;
    const WorkingSet files(ws.folder);
    std::vector<std::pair<std::string, std::string>> outputs;
    outputs.emplace_back(files.configPath(), contentOf(files.configPath()));
    for (int n = 0; n < kProfileCount; ++n)
        outputs.emplace_back(files.profilePath(n), contentOf(files.profilePath(n)));
    for (auto _ : state) {
        for (const auto& [path, bytes] : outputs) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
            ::fsync(fd);
            ::close(fd);
        }
    }
}
BENCHMARK(BM_writeWorkingSetFloor)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
