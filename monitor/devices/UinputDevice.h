#pragma once

#include "monitor/engine/OutputDevice.h"

#include <memory>
#include <string>

struct libevdev_uinput;

namespace vantrel {

// The monitor's one virtual keyboard and mouse, made through uinput. The
// kernel removes it, and lets go of every key it holds, when the monitor's
// file closes, however the monitor ends.
class UinputDevice final : public OutputDevice {
public:
    // Its name, by which the monitor also knows not to read its own output,
    // and its identity, by which udev rules and desktop settings can know it.
    static constexpr const char* kName = "Vantrel virtual keyboard";
    static constexpr uint16_t kBusType = 0x06; // BUS_VIRTUAL
    static constexpr uint16_t kVendor = 0x5654;
    static constexpr uint16_t kProduct = 0x4b42;
    static constexpr uint16_t kVersion = 1;

    // Null, with the reason in whyNot, without access to /dev/uinput.
    static std::unique_ptr<UinputDevice> create(std::string& whyNot);
    ~UinputDevice() override;
    UinputDevice(const UinputDevice&) = delete;
    UinputDevice& operator=(const UinputDevice&) = delete;

    void send(uint16_t type, uint16_t code, int32_t value) override;
    void sync() override;
    int lightsFd() const override { return m_fd; }
    void readLights(std::vector<Light>& lights) override;
    // The /dev/input/event* node of the device.
    std::string devnode() const;

private:
    UinputDevice(int fd, libevdev_uinput* device) : m_fd(fd), m_device(device) {}

    int m_fd;
    libevdev_uinput* m_device;
};

} // namespace vantrel
