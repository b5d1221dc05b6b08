#pragma once

#include "monitor/engine/OutputDevice.h"

#include <array>
#include <cstdint>
#include <linux/input-event-codes.h>

namespace vantrel {

// The keys and buttons held down on the output device. Several holders may
// hold one key (a modifier held on the keyboard and the same modifier of a
// shortcut): it goes down with the first and up with the last, so that no
// holder lets go of another's key and every key that went down comes up.
class OutputKeys final {
public:
    explicit OutputKeys(OutputDevice& device) : m_device(device) {}

    void press(uint16_t code);
    void release(uint16_t code);
    // Every held key up, whoever holds it.
    void releaseAll();
    bool isDown(uint16_t code) const { return code < KEY_CNT && m_holders[code] > 0; }

private:
    void send(uint16_t code, int32_t value);

    OutputDevice& m_device;
    std::array<uint16_t, KEY_CNT> m_holders{};
};

} // namespace vantrel
