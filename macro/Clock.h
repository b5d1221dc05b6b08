#pragma once

#include <chrono>
#include <cstdint>

namespace vantrel {

// A millisecond tick count that wraps at 32 bits, so that pauses can be measured
// in tests without sleeping.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t milliseconds() const = 0;
};

class SteadyClock final : public Clock {
public:
    uint32_t milliseconds() const override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
};

} // namespace vantrel
