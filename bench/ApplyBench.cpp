// The whole apply transaction against a real monitor (block, config.ini, five
// working profiles, a store of 50 macros), beside the floor of writing the
// same bytes once, durably: one write and fsync per file.
#include "link/LinkHost.h"
#include "link/LinkProtocol.h"
#include "link/MonitorLink.h"
#include "link/RuntimeDirectory.h"
#include "macro/MacroStore.h"
#include "settings/LanguageStrings.h"
#include "settings/TextField.h"
#include "tests/TempDir.h"
#include "tests/link/RunningMonitor.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace vantrel;
using vantrel::test::RunningMonitor;
using vantrel::test::TempDir;

namespace {

class QuietHost final : public LinkHost {
public:
    void refreshAll() override {}
    void setEnabledApply(bool) override {}
    void setBusy(bool) override {}
    void showMessage(const std::string&) override {}
    void firmwareVersionChanged() override {}
};

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ApplyWorld {
    TempDir runtimeRoot;
    TempDir program;
    std::string folder = program.folder();
    std::string dir = *RuntimeDirectory::locate(runtimeRoot.folder().c_str(), ::getuid());
    RunningMonitor monitor{dir, folder};
    std::unique_ptr<SharedBlock> edited = std::make_unique<SharedBlock>();
    std::unique_ptr<SharedBlock> applied = std::make_unique<SharedBlock>();
    LanguageStrings strings;
    MacroStore macros{folder};
    QuietHost host;
    MonitorLink link{dir};
    std::unique_ptr<LinkProtocol> protocol;

    ApplyWorld() {
        protocol = std::make_unique<LinkProtocol>(
            link, host, LinkProtocol::Settings{*edited, *applied, macros, strings, folder}, dir);
        protocol->startUp();
        // Fifty macros of fifty events, each assigned to a key.
        for (int i = 0; i < 50; ++i) {
            MacroKeyInfo& key = edited->profiles[i % kProfileCount].MacroKeyInfo[i];
            key.assignType = kAssignMacro;
            copyToField(key.macroName, "Macro " + std::to_string(i));
            key.eventCount = kMacroEventSlots;
            for (int e = 0; e < kMacroEventSlots; ++e)
                key.events[e] = {static_cast<uint8_t>(4 + e % 26),
                                 static_cast<uint8_t>(e % 2 ? kKeyRelease : kKeyPress), 20};
        }
        macros.mergeProfileMacros(*edited);
    }
};

// Every apply has something new for every file: a colour of each profile,
// the current profile, a macro's pause and the change stamp.
void changeEverything(ApplyWorld& world, int n) {
    for (ProfileRecord& profile : world.edited->profiles)
        profile.Color[0][0] = n;
    world.edited->CurrentProfile = n % kProfileCount;
    world.macros.macroAt(0)->events[0].delayMs = static_cast<uint16_t>(n);
}

void BM_apply(benchmark::State& state) {
    ApplyWorld world;
    std::time_t stamp = 1700000000;
    world.protocol->setClock([&stamp] { return ++stamp; });
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        changeEverything(world, ++n);
        state.ResumeTiming();
        world.protocol->apply(kApplyCode);
        state.PauseTiming();
        world.protocol->receivePending(); // the monitor's answers, so its queue never fills
        state.ResumeTiming();
    }
}
BENCHMARK(BM_apply)->Unit(benchmark::kMicrosecond);

// The floor: one block copy and the bytes of every file the apply leaves,
// written durably with one open, write, fsync and close per file.
void BM_applyDurableFloor(benchmark::State& state) {
    ApplyWorld world;
    world.protocol->apply(kApplyCode);
    std::vector<std::pair<std::string, std::string>> outputs;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(world.folder)) {
        const std::string path = entry.path().string();
        if (entry.is_regular_file() && path.find(".lock") == std::string::npos)
            outputs.emplace_back(path, contentOf(path));
    }
    auto shared = std::make_unique<SharedBlock>();
    for (auto _ : state) {
        std::memcpy(shared.get(), world.edited.get(), sizeof(SharedBlock));
        benchmark::DoNotOptimize(shared.get());
        for (const auto& [path, bytes] : outputs) {
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
            ::fsync(fd);
            ::close(fd);
        }
    }
    state.counters["files"] = static_cast<double>(outputs.size());
}
BENCHMARK(BM_applyDurableFloor)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
