// The real devices: a keyboard made with uinput, grabbed by the monitor, and
// the monitor's own device read back. Only where /dev/uinput can be written.
#include "monitor/EvdevKeyboards.h"
#include "monitor/Monitor.h"
#include "monitor/UinputDevice.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/WorkingSet.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace vantrel::test {
namespace {

// Opens an event node with libevdev; null while it is not there yet.
libevdev* openNode(const std::string& path, int mode = O_RDONLY) {
    const int fd = ::open(path.c_str(), mode | O_NONBLOCK | O_CLOEXEC);
    libevdev* device = nullptr;
    if (fd >= 0 && libevdev_new_from_fd(fd, &device) != 0) {
        ::close(fd);
        return nullptr;
    }
    return device;
}

void closeNode(libevdev* device) {
    const int fd = libevdev_get_fd(device);
    libevdev_free(device);
    ::close(fd);
}

TEST(UinputTest, TheMonitorHoldsARealKeyboardAndTypesOnItsOwnDevice) {
    if (::access("/dev/uinput", W_OK) != 0)
        GTEST_SKIP() << "/dev/uinput cannot be written here (" << std::strerror(errno)
                     << "): the real devices are not tried";

    libevdev* description = libevdev_new();
    libevdev_set_name(description, "Vantrel test keyboard");
    libevdev_enable_event_type(description, EV_KEY);
    for (unsigned code = KEY_ESC; code <= KEY_SPACE; ++code)
        libevdev_enable_event_code(description, EV_KEY, code, nullptr);
    libevdev_enable_event_type(description, EV_LED);
    libevdev_enable_event_code(description, EV_LED, LED_CAPSL, nullptr);
    libevdev_uinput* source = nullptr;
    ASSERT_EQ(
        libevdev_uinput_create_from_device(description, LIBEVDEV_UINPUT_OPEN_MANAGED, &source), 0);
    libevdev_free(description);
    const std::string sourceNode = libevdev_uinput_get_devnode(source);

    // Profile 0 has key A send B.
    TempDir runtime, folder;
    auto settings = std::make_unique<SharedBlock>();
    resetAllProfiles(*settings, LanguageStrings());
    settings->profiles[0].standardkey[49] = 5;
    WorkingSet(folder.folder()).writeWorkingSet(*settings, 0);
    Monitor monitor(runtime.folder(), folder.folder(), folder.folder());
    ASSERT_TRUE(monitor.publish());
    std::string whyNot;
    auto output = UinputDevice::create(whyNot);
    ASSERT_TRUE(output) << whyNot;
    const std::string outputNode = output->devnode();
    ASSERT_TRUE(waitUntil([&] { return ::access(sourceNode.c_str(), R_OK) == 0; }));
    auto keyboards = std::make_unique<EvdevKeyboards>(std::vector{sourceNode}, true);
    ASSERT_TRUE(keyboards->open(whyNot));
    ASSERT_TRUE(whyNot.empty()) << whyNot;
    monitor.attachKeyboard(std::move(keyboards), std::move(output));
    const int stopFd = ::eventfd(0, EFD_CLOEXEC);
    std::thread serving([&] { monitor.run(stopFd); });

    libevdev* typed = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (typed = openNode(outputNode, O_RDWR)) != nullptr; }));
    libevdev* grabbed = openNode(sourceNode);
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(libevdev_grab(grabbed, LIBEVDEV_GRAB), -EBUSY);

    for (const int value : {1, 0}) {
        libevdev_uinput_write_event(source, EV_KEY, KEY_A, value);
        libevdev_uinput_write_event(source, EV_SYN, SYN_REPORT, 0);
    }
    std::vector<std::pair<int, int>> keys;
    waitUntil([&] {
        input_event event{};
        while (libevdev_next_event(typed, LIBEVDEV_READ_FLAG_NORMAL, &event) == 0) {
            if (event.type == EV_KEY)
                keys.emplace_back(event.code, event.value);
        }
        return keys.size() >= 2;
    });
    EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{KEY_B, 1}, {KEY_B, 0}}));

    // Caps Lock lit by the desktop on the monitor's device lights the keyboard.
    libevdev_kernel_set_led_value(typed, LED_CAPSL, LIBEVDEV_LED_ON);
    input_event light{};
    pollfd lit{libevdev_uinput_get_fd(source), POLLIN, 0};
    while (::poll(&lit, 1, 5000) == 1 && ::read(lit.fd, &light, sizeof light) == sizeof light &&
           light.type != EV_LED) {
    }
    EXPECT_EQ(light.type, EV_LED);
    EXPECT_EQ(light.code, LED_CAPSL);
    EXPECT_EQ(light.value, 1);

    // The grab goes with the monitor.
    const uint64_t one = 1;
    (void)!::write(stopFd, &one, sizeof one);
    serving.join();
    monitor.withdraw();
    EXPECT_EQ(libevdev_grab(grabbed, LIBEVDEV_GRAB), 0);
    closeNode(grabbed);
    closeNode(typed);
    ::close(stopFd);
    libevdev_uinput_destroy(source);
}

} // namespace
} // namespace vantrel::test
