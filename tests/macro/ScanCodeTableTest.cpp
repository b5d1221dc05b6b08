#include "macro/ScanCodeTable.h"
#include "settings/KeyTable.h"
#include "settings/UsKeyboardLayout.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

// X key codes are Linux input codes plus 8.
constexpr uint32_t x(uint32_t inputCode) {
    return inputCode + 8;
}

void expectKey(uint32_t xKeyCode, uint32_t vk, uint32_t scan, bool extended) {
    const UsKeyboardLayout us;
    const CapturedKey key = ScanCodeTable::keyFromXKeyCode(xKeyCode, us);
    EXPECT_EQ(key.virtualKey, vk) << "X key code " << xKeyCode;
    EXPECT_EQ(key.scanCode, scan) << "X key code " << xKeyCode;
    EXPECT_EQ(key.extended, extended) << "X key code " << xKeyCode;
}

// The A and Q positions swapped, as on a French keyboard.
class SwappedLayout final : public KeyboardLayout {
public:
    uint32_t scanCodeFromVirtualKey(uint32_t vk) const override {
        return vk == 'A' ? 16 : vk == 'Q' ? 30 : m_us.scanCodeFromVirtualKey(vk);
    }
    uint32_t virtualKeyFromScanCode(uint32_t scan) const override {
        return scan == 16 ? 'A' : scan == 30 ? 'Q' : m_us.virtualKeyFromScanCode(scan);
    }

private:
    UsKeyboardLayout m_us;
};

} // namespace

TEST(ScanCodeTable, MainBlockKeysAreTheirInputCodes) {
    expectKey(38, 'A', 30, false); // the X key code of A
    expectKey(x(1), 27, 1, false);
    expectKey(x(11), '0', 11, false);
    expectKey(x(28), 13, 28, false);
    expectKey(x(41), 192, 41, false);
    expectKey(x(57), 32, 57, false);
    expectKey(x(68), 121, 68, false); // F10
    expectKey(x(87), 122, 87, false); // F11
    expectKey(x(88), 123, 88, false);
}

TEST(ScanCodeTable, FixedKeysAndTheExtendedFlag) {
    expectKey(x(29), 162, 0x1D, false); // left Ctrl
    expectKey(x(97), 163, 0x1D, true);  // right Ctrl
    expectKey(x(56), 164, 0x38, false);
    expectKey(x(100), 165, 0x38, true); // right Alt
    expectKey(x(42), 160, 0x2A, false);
    expectKey(x(54), 161, 0x36, false); // right Shift is not extended
    expectKey(x(125), 91, 0x5B, true);
    expectKey(x(126), 92, 0x5C, true);
    expectKey(x(127), 93, 0x5D, true);  // Menu
    expectKey(x(96), 13, 0x1C, true);   // keypad Enter
    expectKey(x(98), 111, 0x35, true);  // keypad /
    expectKey(x(55), 106, 0x37, false); // keypad *
    expectKey(x(99), 44, 0x37, true);   // Print Screen
    expectKey(x(69), 144, 0x45, true);  // Num Lock
    expectKey(x(119), 19, 0x45, false); // Pause
    expectKey(x(70), 145, 0x46, false);
    expectKey(x(71), 103, 0x47, false); // keypad 7
    expectKey(x(82), 96, 0x52, false);  // keypad 0
    expectKey(x(83), 110, 0x53, false);
    expectKey(x(86), 226, 0x56, false); // 102nd key
    expectKey(x(102), 36, 0x47, true);  // Home
    expectKey(x(106), 39, 0x4D, true);  // Right
    expectKey(x(111), 46, 0x53, true);  // Delete
    expectKey(x(113), 173, 0x20, true); // Mute
    expectKey(x(158), 166, 0x6A, true); // browser back
    expectKey(x(140), 183, 0x21, true); // calculator
}

TEST(ScanCodeTable, EveryFixedKeyHasARowOfTheKeyTable) {
    const UsKeyboardLayout us;
    for (uint32_t code = 0; code < 300; ++code) {
        const CapturedKey key = ScanCodeTable::keyFromXKeyCode(code, us);
        if (key.virtualKey != 0) {
            EXPECT_TRUE(KeyTable::keyCodeFromVirtualKey(key.virtualKey, us))
                << "X key code " << code << " vk " << key.virtualKey;
        }
    }
}

TEST(ScanCodeTable, UnknownCodesAndTheLayout) {
    expectKey(0, 0, 0, false);
    expectKey(7, 0, 0, false);
    expectKey(x(84), 0, 0, false);
    expectKey(x(240), 0, 0, false);
    expectKey(400, 0, 0, false);

    const SwappedLayout swapped;
    EXPECT_EQ(ScanCodeTable::keyFromXKeyCode(x(30), swapped).virtualKey, uint32_t('Q'));
    EXPECT_EQ(ScanCodeTable::keyFromXKeyCode(x(16), swapped).virtualKey, uint32_t('A'));
    // Fixed keys do not ask the layout.
    EXPECT_EQ(ScanCodeTable::keyFromXKeyCode(x(29), swapped).virtualKey, 162u);
}
