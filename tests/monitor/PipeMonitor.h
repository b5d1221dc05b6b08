#pragma once

#include "settings/WorkingSet.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"
#include "tests/link/RunningMonitor.h"
#include "tests/monitor/FakeDevices.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vantrel::test {

// The real monitor reading a keyboard on a pipe and typing into another, over
// the real link, with a runtime folder and working files of the test's own.
class PipeMonitor : public ::testing::Test {
protected:
    // Writes the settings as the working files, then starts the monitor; more
    // hands it what else the test needs before it serves.
    void start(const SharedBlock& settings, const std::function<void(Monitor&)>& more = {}) {
        WorkingSet(folder.folder()).writeWorkingSet(settings, 0);
        monitor = std::make_unique<RunningMonitor>(
            runtime.folder(), folder.folder(), std::chrono::milliseconds(0), [&](Monitor& m) {
                m.attachKeyboard(std::make_unique<PipeKeyboard>(in.readEnd()),
                                 std::make_unique<PipeOutput>(out.writeEnd()));
                if (more)
                    more(m);
            });
        ASSERT_TRUE(monitor->published);
    }
    void press(uint16_t code, int32_t value) { writeKey(in.writeEnd(), code, value); }
    void tap(uint16_t code) {
        press(code, 1);
        press(code, 0);
    }
    // The output's key events, waiting up to limit for count of them.
    std::vector<Sent> output(size_t count,
                             std::chrono::milliseconds limit = std::chrono::seconds(5)) {
        std::vector<Sent> sent;
        waitUntil(
            [&] {
                for (input_event e{}; ::read(out.readEnd(), &e, sizeof e) == sizeof e;) {
                    if (e.type == EV_KEY)
                        sent.push_back({e.type, e.code, e.value});
                }
                return sent.size() >= count;
            },
            limit);
        return sent;
    }

    TempDir runtime, folder;
    EventPipe in, out;
    std::unique_ptr<RunningMonitor> monitor;
};

} // namespace vantrel::test
