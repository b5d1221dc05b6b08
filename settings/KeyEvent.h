#pragma once

#include <cstdint>

namespace vantrel {

// One step of a macro: a key going down or up, and the pause before the next step.
struct KeyEvent {
    uint8_t keyCode;  // keyboard usage code, or 240..244 for mouse buttons
    uint8_t action;   // 1 press, 2 release
    uint16_t delayMs; // pause after this event; 0 for none
};
static_assert(sizeof(KeyEvent) == 4);

inline constexpr int kMacroEventSlots = 50;
inline constexpr uint8_t kKeyPress = 1;
inline constexpr uint8_t kKeyRelease = 2;
// The longest pause an event holds.
inline constexpr uint16_t kLongestPause = 65535;

} // namespace vantrel
