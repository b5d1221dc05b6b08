#pragma once

#include <bitset>
#include <cstdint>
#include <linux/input-event-codes.h>

namespace vantrel {

// The fixed chord that lets go of the keyboards at once, and takes them again:
// both Shift keys held and Escape pressed. It is read from the keys as they
// are, before any profile touches them, so no assignment can hide it.
class EscapeChord final {
public:
    // Takes one physical key event; true when it completes the chord.
    bool update(uint16_t code, int32_t value);

private:
    std::bitset<KEY_CNT> m_down;
};

} // namespace vantrel
