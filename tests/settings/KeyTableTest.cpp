#include "settings/KeyTable.h"
#include "settings/KeyNames.h"
#include "settings/UsKeyboardLayout.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

// The US layout with the A and Q keys swapped, as on a French keyboard.
class SwappedLayout final : public KeyboardLayout {
public:
    uint32_t scanCodeFromVirtualKey(uint32_t vk) const override {
        if (vk == 'A')
            return 16;
        if (vk == 'Q')
            return 30;
        return m_us.scanCodeFromVirtualKey(vk);
    }
    uint32_t virtualKeyFromScanCode(uint32_t scan) const override {
        if (scan == 16)
            return 'A';
        if (scan == 30)
            return 'Q';
        return m_us.virtualKeyFromScanCode(scan);
    }

private:
    UsKeyboardLayout m_us;
};

std::string nameOfCode(uint32_t code, const KeyboardLayout& layout) {
    const auto vk = KeyTable::virtualKeyFromKeyCode(code, layout);
    return vk ? KeyNames::keyName(*vk) : std::string("<not found>");
}

} // namespace

TEST(KeyTable, RowsFollowTheTable) {
    const auto& rows = KeyTable::rows();
    EXPECT_EQ(rows[0].virtualKey, 65u);
    EXPECT_EQ(rows[0].scanCode, 30u);
    EXPECT_EQ(rows[35].virtualKey, 48u); // 0 after 1..9
    EXPECT_EQ(rows[35].keyCode, 39u);
    EXPECT_EQ(rows[64].scanCode, 88u);    // F12
    EXPECT_EQ(rows[83].virtualKey, 108u); // keypad Enter
    EXPECT_EQ(rows[89].keyCode, 95u);     // keypad 7
    EXPECT_EQ(rows[90].keyCode, 94u);     // keypad 6
    EXPECT_EQ(rows[95].virtualKey, 226u);
    for (const KeyTableRow& row : rows)
        EXPECT_NE(row.keyCode, 50u);
}

TEST(KeyTable, UsLayoutConversions) {
    const UsKeyboardLayout us;
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey('A', us), 4u);
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey(13, us), 40u);
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey(108, us), 88u);
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey(161, us), 229u);
    EXPECT_EQ(KeyTable::virtualKeyFromKeyCode(4, us), 65u);
    EXPECT_EQ(KeyTable::virtualKeyFromKeyCode(69, us), 123u); // F12 by its scan code 88
    EXPECT_EQ(nameOfCode(88, us), "(Enter)");
    EXPECT_EQ(nameOfCode(40, us), "Enter");
    EXPECT_EQ(nameOfCode(228, us), "Right Ctrl");
}

TEST(KeyTable, CodesWithoutRowsOrNames) {
    const UsKeyboardLayout us;
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey(12, us), std::nullopt);
    EXPECT_EQ(KeyTable::virtualKeyFromKeyCode(50, us), std::nullopt);
    EXPECT_EQ(KeyTable::virtualKeyFromKeyCode(0, us), std::nullopt);
    EXPECT_EQ(KeyTable::virtualKeyFromKeyCode(100, us), 226u);
    EXPECT_EQ(nameOfCode(100, us), "");
    EXPECT_EQ(KeyNames::keyName(12), "");
}

TEST(KeyTable, MouseButtons) {
    const UsKeyboardLayout us;
    EXPECT_EQ(KeyTable::virtualKeyFromKeyCode(240, us), 240u);
    EXPECT_EQ(nameOfCode(240, us), "L Button");
    EXPECT_EQ(nameOfCode(241, us), "R Button");
    EXPECT_EQ(nameOfCode(242, us), "M Button");
    EXPECT_EQ(nameOfCode(243, us), "Button 5");
    EXPECT_EQ(nameOfCode(244, us), "Button 4");
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey(244, us), 244u);
}

TEST(KeyTable, MainBlockKeysFollowThePhysicalPosition) {
    const SwappedLayout swapped;
    // The key in the physical A position types 'Q' under this layout.
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey('Q', swapped), 4u);
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey('A', swapped), 20u);
    EXPECT_EQ(nameOfCode(4, swapped), "Q");
    EXPECT_EQ(nameOfCode(20, swapped), "A");
    EXPECT_EQ(nameOfCode(5, swapped), "B");
}

TEST(KeyTable, AKeyMissingFromTheLayoutKeepsItsOwnCode) {
    // A layout without the key must not send the search to the rows whose scan
    // code is 0 (Print Screen and the rest).
    class EmptyLayout final : public KeyboardLayout {
        uint32_t scanCodeFromVirtualKey(uint32_t) const override { return 0; }
        uint32_t virtualKeyFromScanCode(uint32_t) const override { return 0; }
    } empty;
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey('Z', empty), 29u);
}

TEST(KeyNames, GeneratedAndListedNames) {
    EXPECT_EQ(KeyNames::keyName('0'), "0");
    EXPECT_EQ(KeyNames::keyName('Z'), "Z");
    EXPECT_EQ(KeyNames::keyName(96), "(0)");
    EXPECT_EQ(KeyNames::keyName(105), "(9)");
    EXPECT_EQ(KeyNames::keyName(112), "F1");
    EXPECT_EQ(KeyNames::keyName(123), "F12");
    EXPECT_EQ(KeyNames::keyName(124), "");
    EXPECT_EQ(KeyNames::keyName(33), "Page UP");
    EXPECT_EQ(KeyNames::keyName(220), "\\");
    EXPECT_EQ(KeyNames::keyName(42), "");
}
