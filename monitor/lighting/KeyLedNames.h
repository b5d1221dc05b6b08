#pragma once

#include <string_view>

namespace vantrel {

// Which key position an LED of an OpenRGB keyboard lights: OpenRGB names key
// LEDs by a fixed list ("Key: A", "Key: Left Control", ...), and each name
// stands for one keyboard usage, which one position sends in its factory
// function.
class KeyLedNames final {
public:
    // The key position of the LED, or -1 for an LED no key stands for.
    static int position(std::string_view ledName);
};

} // namespace vantrel
