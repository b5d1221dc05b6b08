#pragma once

#include <cstdint>
#include <optional>

namespace vantrel {

// Between the key codes that profiles and macros store (keyboard usage codes,
// 112..129 for the browser and media keys, 240..244 for mouse buttons) and the
// Linux input codes that evdev reports and uinput sends.
class InputCodeTable final {
public:
    // The input code a stored key code sends; none for a code without a key.
    static std::optional<uint16_t> inputCode(uint8_t keyCode);
    // The stored key code of a keyboard's input code; none for a key the
    // tables do not know.
    static std::optional<uint8_t> keyCode(uint16_t inputCode);
};

} // namespace vantrel
