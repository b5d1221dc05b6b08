#pragma once

#include <cstdint>
#include <vector>

namespace vantrel {

// The virtual keyboard and mouse the monitor types on: events in the kernel's
// input format, made visible together by sync().
class OutputDevice {
public:
    virtual ~OutputDevice() = default;
    virtual void send(uint16_t type, uint16_t code, int32_t value) = 0;
    virtual void sync() = 0;

    // The keyboard lights (Caps Lock and the like) the desktop sets on this
    // device, for the real keyboards to show: a descriptor to wait on, -1 for
    // a device without lights, and the changes ready there as (LED code, on).
    struct Light {
        uint16_t code;
        bool on;
    };
    virtual int lightsFd() const { return -1; }
    virtual void readLights(std::vector<Light>&) {}
};

} // namespace vantrel
