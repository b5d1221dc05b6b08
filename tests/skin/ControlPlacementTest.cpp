#include "skin/ControlPlacement.h"

#include <gtest/gtest.h>

#include <string>

using namespace vantrel;

namespace {

void expectRect(const ControlPlacement& p, int32_t left, int32_t top, int32_t right,
                int32_t bottom) {
    EXPECT_EQ(p.left, left);
    EXPECT_EQ(p.top, top);
    EXPECT_EQ(p.right, right);
    EXPECT_EQ(p.bottom, bottom);
}

} // namespace

TEST(ParsePlacement, UsualFormWithTrailingCommaAndHintText) {
    const ControlPlacement ok = parsePlacement("BUTTON_OK,67,162,70,30,");
    EXPECT_EQ(ok.name, "BUTTON_OK");
    expectRect(ok, 67, 162, 137, 192);
    EXPECT_EQ(ok.text, "");

    const ControlPlacement hinted = parsePlacement("KEY_F1,10,20,30,40,  Open the manual \t");
    EXPECT_EQ(hinted.name, "KEY_F1");
    expectRect(hinted, 10, 20, 40, 60);
    EXPECT_EQ(hinted.text, "Open the manual");
}

TEST(ParsePlacement, OddForms) {
    // Without the trailing comma the last number is also the text.
    const ControlPlacement noTrailing = parsePlacement("BUTTON_OK,67,162,70,30");
    expectRect(noTrailing, 67, 162, 137, 192);
    EXPECT_EQ(noTrailing.text, "30");

    // Without a name the first number becomes the name and the rest shift.
    const ControlPlacement noName = parsePlacement("67,162,70,30,");
    EXPECT_EQ(noName.name, "67");
    expectRect(noName, 162, 70, 192, 70);
    EXPECT_EQ(noName.text, "");

    // Without any comma: no name, numbers from the start, the whole value as text.
    const ControlPlacement noComma = parsePlacement("  12 and more ");
    EXPECT_EQ(noComma.name, "");
    expectRect(noComma, 12, 0, 12, 0);
    EXPECT_EQ(noComma.text, "12 and more");

    const ControlPlacement empty = parsePlacement("");
    EXPECT_EQ(empty.name, "");
    expectRect(empty, 0, 0, 0, 0);
    EXPECT_EQ(empty.text, "");
}

TEST(ParsePlacement, ScanStopsAtTheFirstCharacterThatDoesNotFit) {
    // Blanks before a number are skipped, a blank before a comma stops the scan.
    expectRect(parsePlacement("A, 5, -6,7 ,8,"), 5, -6, 12, -6);
    // Fewer than four numbers leave the others 0.
    expectRect(parsePlacement("A,5,6"), 5, 6, 5, 6);
    expectRect(parsePlacement("A,x,6,7,8,"), 0, 0, 0, 0);
    expectRect(parsePlacement("A,+3,4,5,6,"), 3, 4, 8, 10);
    // A lone sign is no number.
    expectRect(parsePlacement("A,-,4,5,6,"), 0, 0, 0, 0);
}

TEST(ParsePlacement, HugeNumbersWrapInsteadOfOverflowing) {
    const ControlPlacement p = parsePlacement("A,2147483647,0,1,4294967297,");
    EXPECT_EQ(p.left, 2147483647);
    EXPECT_EQ(p.right, static_cast<int32_t>(0x80000000u));
    EXPECT_EQ(p.bottom, 1);
}

TEST(ParsePlacement, NameAndTextAreCutToTheirFields) {
    const std::string longName(60, 'N');
    const std::string longText(500, 't');
    const ControlPlacement p = parsePlacement(longName + ",1,2,3,4," + longText);
    EXPECT_EQ(p.name, std::string(39, 'N'));
    EXPECT_EQ(p.text, std::string(399, 't'));
    expectRect(p, 1, 2, 4, 6);

    // A cut never splits a UTF-8 sequence: 38 ASCII bytes then a two-byte letter.
    const ControlPlacement utf8 = parsePlacement(std::string(38, 'a') + "\xC3\xA9,1,1,1,1,");
    EXPECT_EQ(utf8.name, std::string(38, 'a'));
}
