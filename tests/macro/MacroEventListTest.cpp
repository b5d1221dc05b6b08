#include "macro/MacroEventList.h"
#include "settings/UsKeyboardLayout.h"
#include "tests/macro/MacroTestData.h"

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;
using List = MacroEventList;

namespace {

constexpr uint8_t kA = 4;
constexpr uint8_t kB = 5;
constexpr uint8_t kLeftButton = 240;

MacroRecord numbered(int events) {
    MacroRecord macro = makeMacro("Many", {});
    for (int i = 0; i < events; ++i)
        macro.events[macro.eventCount++] = {kA, kKeyPress, 0};
    return macro;
}

} // namespace

TEST(MacroEventList, RowsShowKeysMouseButtonsAndPauses) {
    const UsKeyboardLayout layout;
    const MacroRecord macro = makeMacro("A", {{kA, kKeyPress, 120},
                                              {kA, kKeyRelease, 0},
                                              {kLeftButton, kKeyPress, 0},
                                              {kLeftButton, kKeyRelease, 7}});
    const List::Rows rows = List::rebuild(macro, -1, layout);
    const std::vector<List::Row> expected{
        {"A", List::itemData(0, List::kKeyPressRow)},
        {"120 ms", List::itemData(0, List::kPauseRow)},
        {"A", List::itemData(1, List::kKeyReleaseRow)},
        {"L Button Down", List::itemData(2, List::kMouseButtonRow)},
        {"L Button Up", List::itemData(3, List::kMouseButtonRow)},
        {"7 ms", List::itemData(3, List::kPauseRow)},
    };
    EXPECT_EQ(rows.rows, expected);
    EXPECT_EQ(rows.rows[1].itemData, 0x10087u);
    // The last row, kept as it is: two more rows below it are not there.
    EXPECT_EQ(rows.target, 5);
}

TEST(MacroEventList, TheRowKeptInViewHasTwoRowsBelowItWhereThereIsRoom) {
    const UsKeyboardLayout layout;
    struct Case {
        int events;
        int keepInView;
        int target;
    };
    // One row per event; the target moves down by two only for 3 < row < rows - 3.
    const Case cases[] = {{10, 3, 3}, {10, 4, 6},  {10, 6, 8},  {10, 7, 7},
                          {10, 9, 9}, {10, -1, 9}, {10, 40, 9}, {0, -1, -1}};
    for (const Case& c : cases) {
        const List::Rows rows = List::rebuild(numbered(c.events), c.keepInView, layout);
        EXPECT_EQ(rows.target, c.target) << c.events << " events, keep " << c.keepInView;
    }
    // A pause row counts as the event's last row.
    MacroRecord paused = numbered(10);
    paused.events[5].delayMs = 30;
    EXPECT_EQ(List::rebuild(paused, 5, layout).target, 8);
}

TEST(MacroEventList, InsertDelayPutsOneMillisecondBeforeTheRowsEvent) {
    MacroRecord macro = makeMacro(
        "D", {{kA, kKeyPress, 0}, {kA, kKeyRelease, 0}, {kB, kKeyPress, 0}, {kB, kKeyRelease, 40}});
    const MacroRecord before = macro;
    // No pause can stand before the first event, nor on a pause row.
    EXPECT_FALSE(List::insertDelay(macro, List::itemData(0, List::kKeyPressRow)));
    EXPECT_FALSE(List::insertDelay(macro, List::itemData(3, List::kPauseRow)));
    EXPECT_FALSE(List::insertDelay(macro, List::itemData(9, List::kKeyPressRow)));
    EXPECT_TRUE(sameBytes(macro, before));

    EXPECT_EQ(List::insertDelay(macro, List::itemData(2, List::kKeyPressRow)), 1);
    EXPECT_EQ(macro.events[1].delayMs, 1);
    macro.events[1].delayMs = 250;
    EXPECT_FALSE(List::insertDelay(macro, List::itemData(2, List::kKeyPressRow)));
    EXPECT_EQ(macro.events[1].delayMs, 250);
}

TEST(MacroEventList, DeleteTakesAPauseAloneOrAnEventWithItsPause) {
    MacroRecord macro =
        makeMacro("D", {{kA, kKeyPress, 120}, {kA, kKeyRelease, 0}, {kB, kKeyPress, 0}});
    EXPECT_EQ(List::deleteRow(macro, List::itemData(0, List::kPauseRow)), 0);
    EXPECT_EQ(macro.eventCount, 3);
    EXPECT_EQ(macro.events[0].delayMs, 0);

    macro.events[0].delayMs = 99;
    EXPECT_EQ(List::deleteRow(macro, List::itemData(0, List::kKeyPressRow)), 0);
    EXPECT_EQ(macro.eventCount, 2);
    EXPECT_EQ(macro.events[0].action, kKeyRelease);
    EXPECT_EQ(macro.events[0].delayMs, 0);
    EXPECT_EQ(macro.events[1].keyCode, kB);
    // A row of no event changes nothing.
    EXPECT_FALSE(List::deleteRow(macro, 0));
    EXPECT_FALSE(List::deleteRow(macro, List::itemData(2, List::kKeyPressRow)));
    EXPECT_EQ(macro.eventCount, 2);
}

TEST(MacroEventList, TypedPausesAreKeptWithinOneTo65535) {
    struct Case {
        const char* text;
        uint16_t pause;
        bool outOfRange;
    };
    const Case cases[] = {{"0", 1, true},         {"99999", 65535, true},
                          {"250", 250, false},    {"", 1, true},
                          {"  42x7", 42, false},  {"65534", 65534, false},
                          {"65535", 65535, true}, {"99999999999999999999", 65535, true}};
    for (const Case& c : cases) {
        bool outOfRange = false;
        EXPECT_EQ(List::pauseFromText(c.text, outOfRange), c.pause) << c.text;
        EXPECT_EQ(outOfRange, c.outOfRange) << c.text;
    }
}

TEST(MacroEventList, MouseCommandsGoButtonByButtonPressReleaseClick) {
    EXPECT_FALSE(List::mouseCommand(1019));
    EXPECT_FALSE(List::mouseCommand(1035));
    const uint8_t codes[] = {240, 241, 242, 244, 243};
    for (int command = 1020; command <= 1034; ++command) {
        const auto mouse = List::mouseCommand(command);
        ASSERT_TRUE(mouse);
        EXPECT_EQ(mouse->keyCode, codes[(command - 1020) / 3]) << command;
        EXPECT_EQ(static_cast<int>(mouse->action), (command - 1020) % 3) << command;
    }
}
