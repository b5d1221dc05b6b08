// What the OpenRGB output costs the monitor: the real vantrel-monitor (a copy
// in a program folder of its own, with a runtime folder of its own) lights a
// 104-LED keyboard of a local fake OpenRGB server, and the process's CPU time
// (/proc/PID/schedstat), wake-ups (its context switches) and the frames the
// server received are counted over a window once the first frame arrived.
// Also how soon an apply shows: the monitor's loop in a thread, the time from
// posting 1224 to the server's receiving the new colour.
#include "link/LinkMessage.h"
#include "link/LinkNames.h"
#include "link/MessageSocket.h"
#include "monitor/service/MonitorCommands.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/WorkingSet.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"
#include "tests/link/RunningMonitor.h"
#include "tests/monitor/FakeOpenRgbServer.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

struct Sample {
    double cpuSeconds;
    long wakeUps;
    size_t frames;
};

Sample sample(pid_t pid, FakeOpenRgbServer& server) {
    Sample s{0, 0, server.received(OpenRgbPacket::kUpdateLeds).size()};
    std::ifstream schedstat("/proc/" + std::to_string(pid) + "/schedstat");
    long long ns = 0;
    schedstat >> ns;
    s.cpuSeconds = double(ns) / 1e9;
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.find("ctxt_switches:") != std::string::npos)
            s.wakeUps += std::stol(line.substr(line.find(':') + 1));
    }
    return s;
}

// Arguments: the effect (2 Wave moves, 0 Static does not) and the seconds measured.
void BM_MonitorStreaming(benchmark::State& state) {
    const auto effect = int32_t(state.range(0));
    const auto seconds = int(state.range(1));
    FakeOpenRgbServer::Controller keyboard{5, "Keyboard", {}, {}, {}};
    for (int k = 0; k < 104; ++k) {
        keyboard.leds.push_back(k % 2 ? "Key: A" : "Key: Escape");
        keyboard.colours.push_back(0);
    }
    FakeOpenRgbServer server(5, {keyboard});
    TempDir program, runtime;
    std::filesystem::copy_file(VANTREL_MONITOR, program.file("vantrel-monitor"));
    std::filesystem::permissions(program.file("vantrel-monitor"),
                                 std::filesystem::perms::owner_all);
    auto block = std::make_unique<SharedBlock>();
    resetAllProfiles(*block, LanguageStrings());
    block->profiles[0].LtSwitch = effect;
    WorkingSet(program.folder()).writeWorkingSet(*block, 0);

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("XDG_RUNTIME_DIR", runtime.folder().c_str(), 1);
        ::unsetenv("DISPLAY");
        std::freopen("/dev/null", "w", stderr);
        const std::string path = program.file("vantrel-monitor");
        const std::string address = server.address();
        ::execl(path.c_str(), path.c_str(), "--openrgb", address.c_str(), nullptr);
        ::_exit(127);
    }
    if (!waitUntil([&] { return !server.received(OpenRgbPacket::kUpdateLeds).empty(); })) {
        state.SkipWithError("no frame arrived");
    } else {
        // Settled: the first frames and the start-up behind it.
        std::this_thread::sleep_for(std::chrono::seconds(1));
        for (auto _ : state) {
            const Sample before = sample(pid, server);
            std::this_thread::sleep_for(std::chrono::seconds(seconds));
            const Sample after = sample(pid, server);
            state.SetIterationTime(seconds);
            state.counters["cpu_percent_of_core"] =
                100.0 * (after.cpuSeconds - before.cpuSeconds) / seconds;
            state.counters["wakeups_per_s"] = double(after.wakeUps - before.wakeUps) / seconds;
            state.counters["frames_per_s"] = double(after.frames - before.frames) / seconds;
        }
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
}
BENCHMARK(BM_MonitorStreaming)
    ->Args({2, 60})
    ->Args({0, 20})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// What one frame costs the monitor's loop (render, then send to the server):
// the longest a key that arrives meanwhile waits for it. A 104-LED keyboard,
// Wave with the rainbow.
void BM_FrameOnTheLoop(benchmark::State& state) {
    FakeOpenRgbServer server(5, {{5,
                                  "Keyboard",
                                  std::vector<std::string>(104, "Key: A"),
                                  std::vector<uint32_t>(104, 0),
                                  {}}});
    auto profile = std::make_unique<ProfileRecord>();
    resetProfile(*profile, 0, LanguageStrings());
    profile->LtSwitch = 2;
    profile->LtColor[2] = 7;
    std::string whyNot;
    KeyboardLighting lighting(std::make_unique<OpenRgbClient>(
        *OpenRgbClient::resolve(server.address(), whyNot), std::vector<std::string>{}));
    lighting.setProfile(*profile);
    std::vector<pollfd> fds;
    while (!lighting.client().ready()) {
        lighting.update(std::chrono::steady_clock::now());
        fds.clear();
        lighting.addFds(fds);
        ::poll(fds.data(), fds.size(), 10);
        for (const pollfd& fd : fds)
            if (fd.revents)
                lighting.handle(fd, std::chrono::steady_clock::now());
    }
    for (auto _ : state) {
        lighting.setProfile(*profile); // a change: a frame is due at once
        const auto start = std::chrono::steady_clock::now();
        lighting.update(start);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        // Time for the server to read it, so that each frame goes out whole.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        benchmark::DoNotOptimize(lighting.client().unsentBytes());
    }
}
BENCHMARK(BM_FrameOnTheLoop)->Iterations(1000)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Each apply switches the static effect between profile 0 (red) and 1 (green).
void BM_ApplyToFrame(benchmark::State& state) {
    FakeOpenRgbServer server(5, {{5, "Keyboard", {"Key: A"}, {0}, {}}});
    TempDir runtime, folder;
    auto block = std::make_unique<SharedBlock>();
    resetAllProfiles(*block, LanguageStrings());
    for (ProfileRecord& p : block->profiles)
        p.LtSwitch = 0;
    block->profiles[1].LtColor[0] = 1;
    WorkingSet(folder.folder()).writeWorkingSet(*block, 0);
    RunningMonitor monitor(
        runtime.folder(), folder.folder(), std::chrono::milliseconds(0), [&](Monitor& m) {
            std::string whyNot;
            m.showLighting(std::make_unique<KeyboardLighting>(std::make_unique<OpenRgbClient>(
                *OpenRgbClient::resolve(server.address(), whyNot), std::vector<std::string>{})));
        });
    auto shown = [&] {
        const auto frames = server.received(OpenRgbPacket::kUpdateLeds);
        return frames.empty() ? 0u : OpenRgbPacket::u32(&frames.back().payload[6]);
    };
    waitUntil([&] { return shown() == uint32_t(kRed); });
    int profile = 0;
    for (auto _ : state) {
        profile = 1 - profile;
        MonitorCommands::switchProfile(runtime.folder(), profile, 0);
        const auto posted = std::chrono::steady_clock::now();
        MessageSocket::post(runtime.folder() + kMonitorSocketName, {kMsgApplied, 1, 0});
        const uint32_t wanted = uint32_t(profile ? kGreen : kRed);
        while (shown() != wanted)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - posted).count());
    }
}
BENCHMARK(BM_ApplyToFrame)->Iterations(50)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
