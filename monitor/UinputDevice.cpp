#include "monitor/UinputDevice.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <unistd.h>

namespace vantrel {

std::unique_ptr<UinputDevice> UinputDevice::create(std::string& whyNot) {
    const int fd = ::open("/dev/uinput", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        whyNot = std::string("/dev/uinput: ") + std::strerror(errno);
        return nullptr;
    }
    libevdev* description = libevdev_new();
    libevdev_set_name(description, kName);
    libevdev_enable_event_type(description, EV_KEY);
    // Every key of a keyboard and the buttons of a mouse; codes above
    // KEY_MICMUTE are gamepad and remote keys no function sends.
    for (unsigned code = KEY_ESC; code <= KEY_MICMUTE; ++code)
        libevdev_enable_event_code(description, EV_KEY, code, nullptr);
    for (unsigned code = BTN_LEFT; code <= BTN_TASK; ++code)
        libevdev_enable_event_code(description, EV_KEY, code, nullptr);
    libevdev_enable_event_type(description, EV_REL);
    // Desktops take a device for a mouse only when it can move, too.
    for (const unsigned axis : {REL_X, REL_Y, REL_WHEEL, REL_WHEEL_HI_RES})
        libevdev_enable_event_code(description, EV_REL, axis, nullptr);
    libevdev_uinput* device = nullptr;
    const int failed = libevdev_uinput_create_from_device(description, fd, &device);
    libevdev_free(description);
    if (failed) {
        whyNot = std::string("/dev/uinput: ") + std::strerror(-failed);
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<UinputDevice>(new UinputDevice(fd, device));
}

UinputDevice::~UinputDevice() {
    libevdev_uinput_destroy(m_device);
    ::close(m_fd);
}

void UinputDevice::send(uint16_t type, uint16_t code, int32_t value) {
    libevdev_uinput_write_event(m_device, type, code, value);
}

void UinputDevice::sync() {
    libevdev_uinput_write_event(m_device, EV_SYN, SYN_REPORT, 0);
}

std::string UinputDevice::devnode() const {
    const char* node = libevdev_uinput_get_devnode(m_device);
    return node ? node : "";
}

} // namespace vantrel
