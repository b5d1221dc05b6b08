#include "lighting/EffectRenderer.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"

#include <benchmark/benchmark.h>

using namespace vantrel;

// One frame of each effect (the argument), with ten key presses showing for
// the effects that react to keys; the eighth choice, which mixes the most.
static void BM_RenderFrame(benchmark::State& state) {
    ProfileRecord profile{};
    resetProfile(profile, 0, LanguageStrings{});
    profile.LtSwitch = static_cast<int32_t>(state.range(0));
    for (int32_t& chosen : profile.LtColor)
        chosen = 7;
    EffectRenderer renderer;
    renderer.setProfile(profile);
    for (int k = 0; k < 10; ++k)
        renderer.keyPressed(k * 11, 1000 + k * 50);
    int64_t ms = 1500;
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.render(ms));
        ms = 1500 + (ms + 33) % 400;
    }
}
BENCHMARK(BM_RenderFrame)->DenseRange(0, 12)->Arg(51);

// What the preview does each tick: take the edited profile, then draw.
static void BM_TakeProfileAndRender(benchmark::State& state) {
    ProfileRecord profile{};
    resetProfile(profile, 0, LanguageStrings{});
    profile.LtSwitch = 10;
    EffectRenderer renderer;
    int64_t ms = 0;
    for (auto _ : state) {
        renderer.setProfile(profile);
        benchmark::DoNotOptimize(renderer.render(ms += 33));
    }
}
BENCHMARK(BM_TakeProfileAndRender);

BENCHMARK_MAIN();
