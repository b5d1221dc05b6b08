#include "macro/MacroRecorder.h"
#include "settings/UsKeyboardLayout.h"
#include "tests/macro/FakeClock.h"
#include "tests/macro/MacroTestData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vantrel;
using namespace vantrel::test;

namespace {

// Keeps what the recorder asked of its window, in order.
class FakeHost final : public MacroRecorder::Host {
public:
    bool startKeyCapture() override {
        calls.push_back("start capture");
        return captureWorks;
    }
    void stopKeyCapture() override { calls.push_back("stop capture"); }
    void recordingChanged(bool recording) override {
        calls.push_back(recording ? "recording" : "idle");
    }
    void eventsChanged(int keepInView) override {
        calls.push_back("events " + std::to_string(keepInView));
    }

    bool captureWorks = true;
    std::vector<std::string> calls;
};

constexpr uint32_t kRelease = MacroRecorder::kReleaseFlag;
constexpr uint32_t kExtended = MacroRecorder::kExtendedFlag;

struct Recording {
    MacroRecord working = makeMacro("Working", {});
    UsKeyboardLayout layout;
    FakeClock clock;
    FakeHost host;
    MacroRecorder recorder{working, layout, clock, host};

    // A report after the given pause.
    void key(uint32_t vk, uint32_t flags, uint32_t pauseMs = 0) {
        clock.now += pauseMs;
        recorder.recordKeyReport(vk, flags);
    }
    std::vector<KeyEvent> events() const {
        return {working.events, working.events + working.eventCount};
    }
};

using Events = std::vector<KeyEvent>;

} // namespace

// Found by argument lookup, so they live beside KeyEvent.
namespace vantrel {
bool operator==(const KeyEvent& a, const KeyEvent& b) {
    return a.keyCode == b.keyCode && a.action == b.action && a.delayMs == b.delayMs;
}
void PrintTo(const KeyEvent& e, std::ostream* os) {
    *os << "{" << int(e.keyCode) << "," << int(e.action) << "," << e.delayMs << "}";
}
} // namespace vantrel

TEST(MacroRecorder, TwoKeysWithoutDelaysGiveFourEvents) {
    Recording r;
    EXPECT_TRUE(r.recorder.startRecording());
    EXPECT_TRUE(r.recorder.recording());
    r.key('A', 0, 120);
    r.key('A', kRelease, 80);
    r.key('B', 0, 300);
    r.key('B', kRelease, 90);
    EXPECT_EQ(r.events(), (Events{{4, 1, 0}, {4, 2, 0}, {5, 1, 0}, {5, 2, 0}}));
    r.recorder.stopRecording();
    EXPECT_EQ(r.host.calls,
              (std::vector<std::string>{"start capture", "recording", "events 0", "events 1",
                                        "events 2", "events 3", "stop capture", "idle"}));
    // Reports after the stop are not recorded.
    r.key('C', 0);
    EXPECT_EQ(r.working.eventCount, 4);
}

TEST(MacroRecorder, AHeldKeyGivesOnePressAndOneRelease) {
    Recording r;
    r.recorder.startRecording();
    for (int i = 0; i < 5; ++i)
        r.key('A', 0, 30);
    r.key('A', kRelease);
    // Extended keys: Right arrow and right Ctrl.
    for (int i = 0; i < 3; ++i)
        r.key(39, kExtended, 30);
    r.key(39, kExtended | kRelease);
    r.key(163, kExtended);
    r.key(163, kExtended);
    r.key(163, kExtended | kRelease);
    EXPECT_EQ(r.events(),
              (Events{{4, 1, 0}, {4, 2, 0}, {79, 1, 0}, {79, 2, 0}, {228, 1, 0}, {228, 2, 0}}));
}

TEST(MacroRecorder, PausesGoOnTheEventBeforeThemAndAreCapped) {
    Recording r;
    r.recorder.setRecordDelays(true);
    r.recorder.startRecording();
    r.key('A', 0, 5000); // the first event has no pause before it
    r.key('A', kRelease, 40);
    r.key('B', 0, 300);
    r.key('B', kRelease, 120000); // two minutes
    r.key('C', 0, 65534);
    r.key('C', kRelease, 65535);
    EXPECT_EQ(
        r.events(),
        (Events{{4, 1, 40}, {4, 2, 300}, {5, 1, 65535}, {5, 2, 65534}, {6, 1, 65535}, {6, 2, 0}}));

    // The tick count wraps at 32 bits.
    r.clock.now = 0xFFFFFF00u;
    r.key('D', 0);
    r.key('D', kRelease, 0x200);
    EXPECT_EQ(r.working.events[6].delayMs, 0x200);

    // A stop ends the measuring: the next recording starts without a pause.
    r.recorder.stopRecording();
    r.recorder.startRecording();
    r.key('E', 0, 700);
    EXPECT_EQ(r.working.events[7].delayMs, 0);
    EXPECT_EQ(r.working.events[8], (KeyEvent{8, 1, 0}));
}

TEST(MacroRecorder, KeypadEnterAndMainEnter) {
    Recording r;
    r.recorder.startRecording();
    r.key(13, kExtended);
    r.key(13, kExtended | kRelease);
    r.key(13, 0);
    r.key(13, kRelease);
    r.key(12, 0); // no row in the key table
    EXPECT_EQ(r.events(), (Events{{88, 1, 0}, {88, 2, 0}, {40, 1, 0}, {40, 2, 0}, {0, 1, 0}}));
}

TEST(MacroRecorder, RecordAfterTheSecondOfFourEvents) {
    Recording r;
    r.working = makeMacro("Working", {{4, 1, 11}, {4, 2, 22}, {5, 1, 33}, {5, 2, 0}});
    r.recorder.setRecordDelays(true);
    r.recorder.setInsertionIndex(2);
    r.recorder.startRecording();
    r.key('C', 0, 1000);
    r.key('C', kRelease, 50);
    r.key('D', 0, 60);
    r.key('D', kRelease, 70);
    // The second event keeps its pause; the new ones sit in order before the third.
    EXPECT_EQ(r.events(), (Events{{4, 1, 11},
                                  {4, 2, 22},
                                  {6, 1, 50},
                                  {6, 2, 60},
                                  {7, 1, 70},
                                  {7, 2, 0},
                                  {5, 1, 33},
                                  {5, 2, 0}}));
    EXPECT_EQ(r.recorder.insertionIndex(), 6);
    EXPECT_EQ(r.recorder.keepInView(), 5);
    EXPECT_EQ(r.host.calls.back(), "events 5");
}

TEST(MacroRecorder, RecordingEndsAtTheFiftiethEvent) {
    Recording r;
    for (int i = 0; i < 49; ++i)
        r.working.events[i] = {4, static_cast<uint8_t>(i % 2 ? 2 : 1), 0};
    r.working.eventCount = 49;
    r.recorder.startRecording();
    r.key('Z', 0);
    EXPECT_FALSE(r.recorder.recording());
    EXPECT_EQ(r.working.eventCount, 50);
    EXPECT_EQ(r.working.events[49], (KeyEvent{29, 1, 0}));
    // The stop comes before the list is rebuilt with the new event in view.
    EXPECT_EQ(r.host.calls, (std::vector<std::string>{"start capture", "recording", "stop capture",
                                                      "idle", "events 49"}));
    r.key('Z', kRelease);
    EXPECT_EQ(r.working.eventCount, 50);
    EXPECT_FALSE(r.recorder.insertEvent({240, 1, 0}));
}

TEST(MacroRecorder, ANewRecordingTakesTheKeyThatEndedTheLastOne) {
    Recording r;
    r.working.eventCount = 49;
    r.recorder.startRecording();
    r.key('A', 0); // the 50th event ends the recording; A's release is not captured
    ASSERT_FALSE(r.recorder.recording());

    // The editor empties the macro and records again, starting with A.
    r.working = makeMacro("Working", {});
    r.recorder.startRecording();
    r.key('A', 0);
    r.key('A', kRelease);
    EXPECT_EQ(r.events(), (Events{{4, 1, 0}, {4, 2, 0}}));
}

TEST(MacroRecorder, AnUnknownKeyFirstIsRecordedPressAndRelease) {
    Recording r;
    r.recorder.startRecording();
    r.key(0, 0); // a key the capture has no code for comes as virtual key 0
    r.key(0, 0);
    r.key(0, kRelease);
    EXPECT_EQ(r.events(), (Events{{0, 1, 0}, {0, 2, 0}}));
}

TEST(MacroRecorder, RecordBeforeTheFirstEventWithDelays) {
    Recording r;
    r.working = makeMacro("Working", {{4, 1, 11}, {4, 2, 0}});
    r.recorder.setRecordDelays(true);
    r.recorder.setInsertionIndex(0);
    r.recorder.startRecording();
    r.key('C', 0, 900); // no event before it: no pause to store anywhere
    r.key('C', kRelease, 25);
    EXPECT_EQ(r.events(), (Events{{6, 1, 25}, {6, 2, 0}, {4, 1, 11}, {4, 2, 0}}));
    EXPECT_EQ(r.recorder.insertionIndex(), 2);
}

TEST(MacroRecorder, InsertEventAppendsOrInsertsAndAdvances) {
    Recording r;
    r.working = makeMacro("Working", {{4, 1, 0}, {4, 2, 0}});
    EXPECT_TRUE(r.recorder.insertEvent({240, 1, 0}));
    EXPECT_EQ(r.recorder.keepInView(), 2);
    r.recorder.setInsertionIndex(0);
    EXPECT_TRUE(r.recorder.insertEvent({241, 1, 0}));
    EXPECT_TRUE(r.recorder.insertEvent({241, 2, 0}));
    EXPECT_EQ(r.recorder.insertionIndex(), 2);
    EXPECT_EQ(r.events(), (Events{{241, 1, 0}, {241, 2, 0}, {4, 1, 0}, {4, 2, 0}, {240, 1, 0}}));
    // An index past the end inserts at the end.
    r.recorder.setInsertionIndex(40);
    EXPECT_TRUE(r.recorder.insertEvent({242, 1, 0}));
    EXPECT_EQ(r.working.eventCount, 6);
    EXPECT_EQ(r.working.events[5], (KeyEvent{242, 1, 0}));
    EXPECT_EQ(r.recorder.insertionIndex(), 6);
}

TEST(MacroRecorder, ACaptureThatCannotStartStillCountsAsRecording) {
    Recording r;
    r.host.captureWorks = false;
    EXPECT_FALSE(r.recorder.startRecording());
    EXPECT_TRUE(r.recorder.recording());
    r.recorder.stopRecording();
    EXPECT_FALSE(r.recorder.recording());
}
