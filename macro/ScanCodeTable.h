#pragma once

#include <cstdint>

namespace vantrel {

class KeyboardLayout;

// A key as the key capture reports it.
struct CapturedKey {
    uint32_t virtualKey; // 0 for a key the table does not know
    uint32_t scanCode;   // PC set-1 scan code without the E0 prefix
    bool extended;       // the scan code has the E0 prefix
};

// From the key code of an X key event (the Linux input code plus 8) to the PC
// set-1 scan code, its extended flag and the virtual-key code. Keys of the main
// block take their virtual-key code from the layout, by position; every other
// key has a fixed one.
class ScanCodeTable final {
public:
    static CapturedKey keyFromXKeyCode(uint32_t xKeyCode, const KeyboardLayout& layout);
};

} // namespace vantrel
