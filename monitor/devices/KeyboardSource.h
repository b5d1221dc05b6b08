#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantrel {

// The physical keyboards the monitor reads.
class KeyboardSource {
public:
    struct Event {
        uint16_t code;
        int32_t value; // 1 press, 0 release, 2 repeat
        // From a keyboard the monitor holds, so nobody else saw it: the engine
        // acts on it. Others only count for the escape chord.
        bool held;
    };

    virtual ~KeyboardSource() = default;
    // The descriptors to wait on; they change as keyboards come and go.
    virtual std::vector<int> fds() const = 0;
    // Appends the key events that are ready on fd.
    virtual void read(int fd, std::vector<Event>& events) = 0;
    // Holds the keyboards, or lets go of them at once.
    virtual void setHeld(bool held) = 0;
    // Shows a keyboard light (LED code) on every keyboard.
    virtual void setLight(uint16_t code, bool on) = 0;
    // A line for each keyboard read, for the monitor's status.
    virtual std::vector<std::string> describe() const { return {}; }
};

} // namespace vantrel
