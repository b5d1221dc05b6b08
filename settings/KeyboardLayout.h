#pragma once

#include <cstdint>

namespace vantrel {

// The two questions the key tables ask of the keyboard layout in use.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // Set-1 scan code of the key that produces this virtual-key code; 0 if none.
    virtual uint32_t scanCodeFromVirtualKey(uint32_t vk) const = 0;
    // Virtual-key code of the key at this scan code, left and right keys told
    // apart; 0 if none.
    virtual uint32_t virtualKeyFromScanCode(uint32_t scanCode) const = 0;
};

} // namespace vantrel
