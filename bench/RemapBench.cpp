// What a key costs on its way through the monitor: the engine alone per input
// event, and from an input event to the output event through the monitor's
// real event loop (keyboard and output on pipes, the link in a temporary
// runtime folder), with how closely a macro's pauses are kept there; the loop's
// latency also while it streams a moving effect to a fake OpenRGB server.
#include "monitor/engine/RemapEngine.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/WorkingSet.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"
#include "tests/link/RunningMonitor.h"
#include "tests/monitor/FakeDevices.h"
#include "tests/monitor/FakeOpenRgbServer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <poll.h>
#include <thread>
#include <vector>

using namespace vantrel;
using namespace vantrel::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kPositionA = 49;
constexpr int kPositionS = 50;
constexpr int kPositionD = 51;

class NullOutput final : public OutputDevice {
public:
    void send(uint16_t, uint16_t, int32_t) override { ++sent; }
    void sync() override {}
    long sent = 0;
};

// A factory profile with a shortcut on S and a three-event macro on D.
std::unique_ptr<SharedBlock> settings() {
    auto block = std::make_unique<SharedBlock>();
    resetAllProfiles(*block, LanguageStrings());
    MacroKeyInfo& shortcut = block->profiles[0].MacroKeyInfo[kPositionS];
    shortcut.assignType = kAssignShortcut;
    shortcut.eventCount = 1;
    shortcut.events[0] = {6, 0b110, 0};
    MacroKeyInfo& macro = block->profiles[0].MacroKeyInfo[kPositionD];
    macro.assignType = kAssignMacro;
    macro.eventCount = 4;
    macro.repeatCount = 1;
    macro.events[0] = {5, kKeyPress, 5};
    macro.events[1] = {5, kKeyRelease, 5};
    macro.events[2] = {6, kKeyPress, 5};
    macro.events[3] = {6, kKeyRelease, 0};
    return block;
}

void BM_EnginePerEvent(benchmark::State& state) {
    const uint16_t code = static_cast<uint16_t>(state.range(0));
    NullOutput output;
    RecordingActions actions;
    RemapEngine engine(output, actions);
    engine.setProfile(settings()->profiles[0]);
    const auto now = Clock::now();
    for (auto _ : state) {
        engine.key(code, 1, now);
        engine.key(code, 0, now);
        engine.advance(now + std::chrono::seconds(1));
    }
    state.SetItemsProcessed(state.iterations() * 2);
    benchmark::DoNotOptimize(output.sent);
}
// A standard key, a shortcut, a macro played whole.
BENCHMARK(BM_EnginePerEvent)->Arg(KEY_A)->Arg(KEY_S)->Arg(KEY_D);

// The monitor serving in a thread, with its keyboard and output on pipes;
// streaming, it also lights a 104-LED keyboard of a fake OpenRGB server with
// the factory effect (Spectrum, which moves).
class LoopUnderTest {
public:
    // The profiles are written before the monitor reads them at its start.
    explicit LoopUnderTest(bool streaming = false) {
        WorkingSet(m_folder.folder()).writeWorkingSet(*settings(), 0);
        if (streaming)
            m_server = std::make_unique<FakeOpenRgbServer>(
                5,
                std::vector<FakeOpenRgbServer::Controller>{{5,
                                                            "Keyboard",
                                                            std::vector<std::string>(104, "Key: A"),
                                                            std::vector<uint32_t>(104, 0),
                                                            {}}});
        m_monitor = std::make_unique<RunningMonitor>(
            m_runtime.folder(), m_folder.folder(), std::chrono::milliseconds(0),
            [this](Monitor& m) {
                m.attachKeyboard(std::make_unique<PipeKeyboard>(in.readEnd()),
                                 std::make_unique<PipeOutput>(out.writeEnd()));
                if (m_server) {
                    std::string whyNot;
                    m.showLighting(
                        std::make_unique<KeyboardLighting>(std::make_unique<OpenRgbClient>(
                            *OpenRgbClient::resolve(m_server->address(), whyNot),
                            std::vector<std::string>{})));
                }
            });
        if (m_server)
            waitUntil([this] { return m_server->received(OpenRgbPacket::kUpdateLeds).size() > 2; });
    }
    size_t frames() { return m_server ? m_server->received(OpenRgbPacket::kUpdateLeds).size() : 0; }
    // Waits for the next key event of the output: when it arrived, and when
    // the monitor sent it.
    std::pair<Clock::time_point, Clock::time_point> nextKey() {
        for (;;) {
            input_event event{};
            if (::read(out.readEnd(), &event, sizeof event) == sizeof event) {
                if (event.type == EV_KEY)
                    return {Clock::now(),
                            Clock::time_point(std::chrono::seconds(event.input_event_sec) +
                                              std::chrono::microseconds(event.input_event_usec))};
                continue;
            }
            pollfd wait{out.readEnd(), POLLIN, 0};
            ::poll(&wait, 1, 1000);
        }
    }

    EventPipe in, out;

private:
    TempDir m_runtime, m_folder;
    std::unique_ptr<FakeOpenRgbServer> m_server;
    std::unique_ptr<RunningMonitor> m_monitor;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

// Argument 1 streams meanwhile. A millisecond between keys spreads them over
// the frames (5000 keys, about 6 s, some 180 frames).
void BM_LoopLatency(benchmark::State& state) {
    LoopUnderTest loop(state.range(0) == 1);
    const size_t framesBefore = loop.frames();
    std::vector<double> micros;
    for (auto _ : state) {
        const auto sent = Clock::now();
        writeKey(loop.in.writeEnd(), KEY_A, 1);
        const auto arrived = loop.nextKey().first;
        writeKey(loop.in.writeEnd(), KEY_A, 0);
        loop.nextKey();
        const double us = std::chrono::duration<double, std::micro>(arrived - sent).count();
        micros.push_back(us);
        state.SetIterationTime(us / 1e6);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    state.counters["frames"] = double(loop.frames() - framesBefore);
    state.counters["p50_us"] = percentile(micros, 0.5);
    state.counters["p99_us"] = percentile(micros, 0.99);
    state.counters["max_us"] = percentile(micros, 1.0);
}
BENCHMARK(BM_LoopLatency)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(5000)
    ->Unit(benchmark::kMicrosecond);

// Key D plays B down, 5 ms, B up, 5 ms, C down, 5 ms, C up: how far each gap
// between the times the monitor sent them strays from its 5 ms.
void BM_MacroPauses(benchmark::State& state) {
    LoopUnderTest loop;
    std::vector<double> errors;
    for (auto _ : state) {
        writeKey(loop.in.writeEnd(), KEY_D, 1);
        writeKey(loop.in.writeEnd(), KEY_D, 0);
        Clock::time_point last = loop.nextKey().second;
        for (int i = 0; i < 3; ++i) {
            const Clock::time_point next = loop.nextKey().second;
            errors.push_back(
                std::abs(std::chrono::duration<double, std::micro>(next - last).count() - 5000.0));
            last = next;
        }
    }
    state.counters["p50_error_us"] = percentile(errors, 0.5);
    state.counters["p99_error_us"] = percentile(errors, 0.99);
    state.counters["max_error_us"] = percentile(errors, 1.0);
}
BENCHMARK(BM_MacroPauses)->Iterations(300)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
