#include "monitor/devices/UinputDevice.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <unistd.h>
#include <utility>

namespace vantrel {

std::unique_ptr<UinputDevice> UinputDevice::create(std::string& whyNot) {
    // Non-blocking for reading the lights; writing events never blocks.
    const int fd = ::open("/dev/uinput", O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        whyNot = std::string("/dev/uinput: ") + std::strerror(errno);
        return nullptr;
    }
    libevdev* description = libevdev_new();
    libevdev_set_name(description, kName);
    libevdev_set_id_bustype(description, kBusType);
    libevdev_set_id_vendor(description, kVendor);
    libevdev_set_id_product(description, kProduct);
    libevdev_set_id_version(description, kVersion);
    libevdev_enable_event_type(description, EV_KEY);
    // The kernel repeats held keys at the rate the console or the desktop
    // sets on the device, as it does for a keyboard; the keyboards' own
    // repeats are not passed on, or every repeat would come twice.
    libevdev_enable_event_type(description, EV_REP);
    // Every key a keyboard may have, so that unassigned keys pass whatever
    // they are, and the buttons of a mouse; but no joystick, gamepad or
    // tablet button, which would make the desktop take it for one of those.
    const std::pair<unsigned, unsigned> ranges[] = {{KEY_ESC, KEY_MICMUTE},
                                                    {BTN_LEFT, BTN_TASK},
                                                    {KEY_OK, BTN_DPAD_UP - 1},
                                                    {KEY_ALS_TOGGLE, BTN_TRIGGER_HAPPY - 1}};
    for (const auto& [first, last] : ranges) {
        for (unsigned code = first; code <= last; ++code)
            libevdev_enable_event_code(description, EV_KEY, code, nullptr);
    }
    libevdev_enable_event_type(description, EV_LED);
    for (const unsigned led : {LED_NUML, LED_CAPSL, LED_SCROLLL, LED_COMPOSE, LED_KANA})
        libevdev_enable_event_code(description, EV_LED, led, nullptr);
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

void UinputDevice::readLights(std::vector<Light>& lights) {
    input_event event{};
    while (::read(m_fd, &event, sizeof event) == sizeof event) {
        if (event.type == EV_LED)
            lights.push_back({event.code, event.value != 0});
    }
}

std::string UinputDevice::devnode() const {
    const char* node = libevdev_uinput_get_devnode(m_device);
    return node ? node : "";
}

} // namespace vantrel
