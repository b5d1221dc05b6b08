#pragma once

#include <cstdint>

namespace vantrel {

// The virtual keyboard and mouse the monitor types on: events in the kernel's
// input format, made visible together by sync().
class OutputDevice {
public:
    virtual ~OutputDevice() = default;
    virtual void send(uint16_t type, uint16_t code, int32_t value) = 0;
    virtual void sync() = 0;
};

} // namespace vantrel
