// How long the macro store takes to save (every apply does) and to load and
// merge at start-up, for a large collection.
#include "macro/MacroStore.h"
#include "settings/TextField.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>

using namespace vantrel;

namespace {

struct Folder {
    std::string path;
    Folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vantrel-macro-bench-XXXXXX").string();
        path = std::string(::mkdtemp(pattern.data())) + "/";
    }
    ~Folder() { std::filesystem::remove_all(path); }
};

void fill(MacroStore& store, int count) {
    for (int i = 0; i < count; ++i) {
        MacroRecord record;
        std::memset(&record, 0, sizeof record);
        copyToField(record.name, "Macro " + std::to_string(i));
        record.repeatCount = 1;
        record.eventCount = 50;
        for (int e = 0; e < 50; ++e)
            record.events[e] = {static_cast<uint8_t>(4 + e % 26),
                                static_cast<uint8_t>(e % 2 ? 2 : 1), 30};
        store.appendMacro(record);
    }
}

void BM_saveMacroStore(benchmark::State& state) {
    Folder folder;
    MacroStore store(folder.path);
    fill(store, static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.saveMacroStore());
}
BENCHMARK(BM_saveMacroStore)->Arg(20)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_loadAndMerge(benchmark::State& state) {
    Folder folder;
    MacroStore store(folder.path);
    fill(store, static_cast<int>(state.range(0)));
    store.saveMacroStore();
    // Every key of every profile plays one of the macros.
    auto settings = std::make_unique<SharedBlock>();
    std::memset(settings.get(), 0, sizeof(SharedBlock));
    for (auto& profile : settings->profiles) {
        for (int k = 0; k < kKeyPositions; ++k) {
            profile.MacroKeyInfo[k].assignType = kAssignMacro;
            MacroStore::copyMacroToKey(*store.macroAt(k % store.count()), profile.MacroKeyInfo[k]);
        }
    }
    for (auto _ : state) {
        store.clearMacroStore();
        store.loadMacroStore();
        store.mergeProfileMacros(*settings);
        benchmark::DoNotOptimize(store.count());
    }
}
BENCHMARK(BM_loadAndMerge)->Arg(20)->Arg(500)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
