#pragma once

#include "settings/KeyboardLayout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

// One row of the key table: virtual-key code, stored key code (USB HID usage,
// 240..244 for mouse buttons) and set-1 scan code (0 where the layout is not
// asked).
struct KeyTableRow {
    uint32_t virtualKey;
    uint32_t keyCode;
    uint32_t scanCode;
};

class KeyTable final {
public:
    static constexpr int kRows = 128;
    static const std::array<KeyTableRow, kRows>& rows();

    // Keys of the main block (codes 4..69) are identified by their position,
    // through the layout; every other key by its virtual-key code.
    static std::optional<uint32_t> keyCodeFromVirtualKey(uint32_t vk, const KeyboardLayout& layout);
    static std::optional<uint32_t> virtualKeyFromKeyCode(uint32_t code,
                                                         const KeyboardLayout& layout);
};

} // namespace vantrel
