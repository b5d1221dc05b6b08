// The real devices: keyboards made with uinput, grabbed by the monitor, and
// the monitor's own device read back. Only where /dev/uinput can be written;
// the keyboards are named, so no real keyboard is ever taken, and they type
// Scroll Lock and Pause, which a desktop the test runs on takes no action on.
#include "monitor/devices/EvdevKeyboards.h"
#include "monitor/devices/UinputDevice.h"
#include "monitor/service/Monitor.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/WorkingSet.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"
#include "tests/link/RunningMonitor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <libevdev/libevdev-uinput.h>
#include <libevdev/libevdev.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vantrel::test {
namespace {

using Keys = std::vector<std::pair<int, int>>;

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

class UinputTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (::access("/dev/uinput", W_OK) != 0)
            GTEST_SKIP() << "/dev/uinput cannot be written here (" << std::strerror(errno)
                         << "): the real devices are not tried";
        // Profile 0 has Scroll Lock send Pause.
        auto settings = std::make_unique<SharedBlock>();
        resetAllProfiles(*settings, LanguageStrings());
        settings->profiles[0].standardkey[14] = 72;
        WorkingSet(folder.folder()).writeWorkingSet(*settings, 0);
    }
    void TearDown() override {
        monitor.reset();
        if (typed)
            closeNode(typed);
        for (libevdev_uinput* k : keyboards)
            libevdev_uinput_destroy(k);
    }

    // A keyboard of the main block, Escape, the Shifts and a Caps Lock light.
    libevdev_uinput* makeKeyboard(const char* name) {
        libevdev* description = libevdev_new();
        libevdev_set_name(description, name);
        libevdev_enable_event_type(description, EV_KEY);
        for (unsigned code = KEY_ESC; code <= KEY_KPDOT; ++code)
            libevdev_enable_event_code(description, EV_KEY, code, nullptr);
        libevdev_enable_event_code(description, EV_KEY, KEY_RIGHTSHIFT, nullptr);
        libevdev_enable_event_type(description, EV_LED);
        libevdev_enable_event_code(description, EV_LED, LED_CAPSL, nullptr);
        libevdev_uinput* keyboard = nullptr;
        libevdev_uinput_create_from_device(description, LIBEVDEV_UINPUT_OPEN_MANAGED, &keyboard);
        libevdev_free(description);
        if (keyboard) {
            keyboards.push_back(keyboard);
            const std::string node = libevdev_uinput_get_devnode(keyboard);
            waitUntil([&] { return ::access(node.c_str(), R_OK) == 0; });
        }
        return keyboard;
    }
    static std::string node(libevdev_uinput* keyboard) {
        return libevdev_uinput_get_devnode(keyboard);
    }
    static void key(libevdev_uinput* keyboard, uint16_t code, int value) {
        libevdev_uinput_write_event(keyboard, EV_KEY, code, value);
        libevdev_uinput_write_event(keyboard, EV_SYN, SYN_REPORT, 0);
    }
    // Whether somebody holds the keyboard: a grab of our own is refused.
    static bool held(libevdev_uinput* keyboard) {
        libevdev* probe = openNode(node(keyboard));
        const bool busy = libevdev_grab(probe, LIBEVDEV_GRAB) == -EBUSY;
        closeNode(probe);
        return busy;
    }

    void startMonitor(std::vector<std::string> names) {
        std::string outputNode;
        monitor = std::make_unique<RunningMonitor>(
            runtime.folder(), folder.folder(), std::chrono::milliseconds(0), [&](Monitor& m) {
                std::string whyNot;
                auto output = UinputDevice::create(whyNot);
                ASSERT_TRUE(output) << whyNot;
                outputNode = output->devnode();
                auto sources = std::make_unique<EvdevKeyboards>(std::move(names), true);
                ASSERT_TRUE(sources->open(whyNot)) << whyNot;
                m.attachKeyboard(std::move(sources), std::move(output));
            });
        ASSERT_TRUE(monitor->published);
        ASSERT_FALSE(outputNode.empty());
        ASSERT_TRUE(waitUntil([&] { return (typed = openNode(outputNode, O_RDWR)) != nullptr; }));
    }
    // Taps Scroll Lock until the monitor types the Pause it stands for: it does once it
    // holds the keyboard. (Probing the grab instead could take the moment of
    // the monitor's own try.)
    bool typesOnceHeld(libevdev_uinput* keyboard) {
        return waitUntil([&] {
            key(keyboard, KEY_SCROLLLOCK, 1);
            key(keyboard, KEY_SCROLLLOCK, 0);
            const Keys keys = typedKeys(0);
            return std::find(keys.begin(), keys.end(), std::pair{KEY_PAUSE, 0}) != keys.end();
        });
    }
    // The keys of the monitor's device, waiting for count of them (SIZE_MAX:
    // those that come within the wait).
    Keys typedKeys(size_t count) {
        Keys keys;
        waitUntil([&] {
            input_event event{};
            while (libevdev_next_event(typed, LIBEVDEV_READ_FLAG_NORMAL, &event) == 0) {
                if (event.type == EV_KEY)
                    keys.emplace_back(event.code, event.value);
            }
            return keys.size() >= count;
        });
        return keys;
    }

    // The monitor in a process of its own, to stop or kill, holding the
    // keyboard of the name; sets `typed` to its device.
    pid_t forkMonitor(const char* name) {
        int report[2];
        if (::pipe(report) != 0)
            return -1;
        const pid_t pid = ::fork();
        if (pid == 0) {
            Monitor m(runtime.folder(), folder.folder(), folder.folder());
            std::string whyNot;
            auto output = UinputDevice::create(whyNot);
            auto sources = std::make_unique<EvdevKeyboards>(std::vector<std::string>{name}, true);
            if (!m.publish() || !output || !sources->open(whyNot))
                ::_exit(1);
            const std::string node = output->devnode();
            m.attachKeyboard(std::move(sources), std::move(output));
            (void)!::write(report[1], node.c_str(), node.size() + 1);
            int never[2];
            (void)!::pipe(never);
            m.run(never[0]);
            ::_exit(0);
        }
        ::close(report[1]);
        char node[256] = {};
        (void)!::read(report[0], node, sizeof node - 1);
        ::close(report[0]);
        waitUntil([&] { return (typed = openNode(node, O_RDWR)) != nullptr; });
        return pid;
    }
    // Whether the monitor's device has a key down, once its events are read.
    bool anyKeyDown() {
        typedKeys(SIZE_MAX);
        for (unsigned code = 0; code < KEY_CNT; ++code) {
            if (libevdev_get_event_value(typed, EV_KEY, code))
                return true;
        }
        return false;
    }

    TempDir runtime, folder;
    std::unique_ptr<RunningMonitor> monitor;
    std::vector<libevdev_uinput*> keyboards;
    libevdev* typed = nullptr;
};

TEST_F(UinputTest, TheMonitorHoldsTheKeyboardTypesOnItsOwnDeviceAndLetsGoWhenItEnds) {
    libevdev_uinput* keyboard = makeKeyboard("Vantrel test keyboard");
    ASSERT_TRUE(keyboard);
    startMonitor({node(keyboard)});
    EXPECT_TRUE(held(keyboard));
    key(keyboard, KEY_SCROLLLOCK, 1);
    key(keyboard, KEY_SCROLLLOCK, 0);
    EXPECT_EQ(typedKeys(2), (Keys{{KEY_PAUSE, 1}, {KEY_PAUSE, 0}}));

    // Caps Lock lit by the desktop on the monitor's device lights the keyboard.
    libevdev_kernel_set_led_value(typed, LED_CAPSL, LIBEVDEV_LED_ON);
    input_event light{};
    pollfd lit{libevdev_uinput_get_fd(keyboard), POLLIN, 0};
    while (::poll(&lit, 1, 5000) == 1 && ::read(lit.fd, &light, sizeof light) == sizeof light &&
           light.type != EV_LED) {
    }
    EXPECT_EQ(light.type, EV_LED);
    EXPECT_EQ(light.code, LED_CAPSL);
    EXPECT_EQ(light.value, 1);

    // A key held when the monitor stops comes up (read before its device
    // goes, which ends reading it), and the grab goes with the monitor.
    key(keyboard, KEY_SCROLLLOCK, 1);
    EXPECT_EQ(typedKeys(1), (Keys{{KEY_PAUSE, 1}}));
    monitor->stop();
    EXPECT_EQ(typedKeys(1), (Keys{{KEY_PAUSE, 0}}));
    monitor->withdraw();
    EXPECT_FALSE(held(keyboard));
}

TEST_F(UinputTest, TheEscapeChordLetsGoAtOnceAndTakesTheKeyboardAgain) {
    libevdev_uinput* keyboard = makeKeyboard("Vantrel test keyboard");
    ASSERT_TRUE(keyboard);
    startMonitor({node(keyboard)});
    ASSERT_TRUE(held(keyboard));
    for (const int value : {1, 0}) {
        for (const uint16_t code : {KEY_LEFTSHIFT, KEY_RIGHTSHIFT, KEY_ESC})
            key(keyboard, code, value);
    }
    // The Shifts went through and came up with the chord; Escape never did.
    EXPECT_EQ(
        typedKeys(4),
        (Keys{{KEY_LEFTSHIFT, 1}, {KEY_RIGHTSHIFT, 1}, {KEY_LEFTSHIFT, 0}, {KEY_RIGHTSHIFT, 0}}));
    EXPECT_TRUE(waitUntil([&] { return !held(keyboard); }));

    for (const int value : {1, 0}) {
        for (const uint16_t code : {KEY_LEFTSHIFT, KEY_RIGHTSHIFT, KEY_ESC})
            key(keyboard, code, value);
    }
    EXPECT_TRUE(typesOnceHeld(keyboard));
}

TEST_F(UinputTest, AKeyboardIsTakenOnlyOnceNoKeyOfItIsDownAndWhenPluggedInLater) {
    libevdev_uinput* first = makeKeyboard("Vantrel test keyboard");
    ASSERT_TRUE(first);
    key(first, KEY_SCROLLLOCK, 1); // as the Enter that started the monitor from a shell
    startMonitor({"Vantrel test keyboard", "Vantrel second keyboard"});
    EXPECT_FALSE(held(first));
    key(first, KEY_SCROLLLOCK, 0);
    EXPECT_TRUE(typesOnceHeld(first));

    libevdev_uinput* second = makeKeyboard("Vantrel second keyboard");
    ASSERT_TRUE(second);
    EXPECT_TRUE(typesOnceHeld(second));
}

TEST_F(UinputTest, TheDeviceHasItsIdentityAndRepeatsAHeldKeyOnceARepeat) {
    libevdev_uinput* keyboard = makeKeyboard("Vantrel test keyboard");
    ASSERT_TRUE(keyboard);
    startMonitor({node(keyboard)});
    EXPECT_EQ(libevdev_get_id_bustype(typed), UinputDevice::kBusType);
    EXPECT_EQ(libevdev_get_id_vendor(typed), UinputDevice::kVendor);
    EXPECT_EQ(libevdev_get_id_product(typed), UinputDevice::kProduct);
    EXPECT_TRUE(libevdev_has_event_type(typed, EV_REP));

    // Held for a second, with the keyboard's own repeats every 33 ms: the
    // kernel's repeats (250 ms, then every 33 ms) come out, and no others.
    key(keyboard, KEY_SCROLLLOCK, 1);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(33));
        key(keyboard, KEY_SCROLLLOCK, 2);
    }
    key(keyboard, KEY_SCROLLLOCK, 0);
    Keys keys;
    waitUntil([&] {
        const Keys more = typedKeys(0);
        keys.insert(keys.end(), more.begin(), more.end());
        return !keys.empty() && keys.back() == std::pair{KEY_PAUSE, 0};
    });
    const auto repeats = std::count(keys.begin(), keys.end(), std::pair{KEY_PAUSE, 2});
    EXPECT_GE(repeats, 12);
    EXPECT_LE(repeats, 30);
    EXPECT_EQ(keys.back(), (std::pair{KEY_PAUSE, 0}));
}

TEST_F(UinputTest, AKeyboardUnpluggedWithAKeyDownAndAMacroPlayingLeavesNoKeyDown) {
    // F1 plays A, 20 ms, A up, 20 ms, over and over while it is held.
    auto settings = std::make_unique<SharedBlock>();
    resetAllProfiles(*settings, LanguageStrings());
    MacroKeyInfo& f1 = settings->profiles[0].MacroKeyInfo[1];
    f1.assignType = kAssignMacro;
    f1.macroMode = 1;
    f1.eventCount = 2;
    f1.events[0] = {4, kKeyPress, 20}; // usage 4 is A
    f1.events[1] = {4, kKeyRelease, 20};
    settings->profiles[0].standardkey[14] = 72;
    WorkingSet(folder.folder()).writeWorkingSet(*settings, 0);

    libevdev_uinput* keyboard = makeKeyboard("Vantrel test keyboard");
    ASSERT_TRUE(keyboard);
    const pid_t child = forkMonitor("Vantrel test keyboard");
    ASSERT_GT(child, 0);
    ASSERT_TRUE(typesOnceHeld(keyboard));
    key(keyboard, KEY_SCROLLLOCK, 1);
    key(keyboard, KEY_F1, 1);
    const Keys before = typedKeys(4);
    EXPECT_NE(std::find(before.begin(), before.end(), std::pair{KEY_A, 1}), before.end());
    // Gone while the monitor sleeps, so that it never reads the releases the
    // kernel sends with the keyboard's end.
    ::kill(child, SIGSTOP);
    libevdev_uinput_destroy(keyboard);
    keyboards.clear();
    ::kill(child, SIGCONT);
    EXPECT_FALSE(anyKeyDown());

    // Back, then gone and back under the same node before the monitor saw it
    // go (as after a resume): the new device is held, and nothing stays down.
    libevdev_uinput* back = makeKeyboard("Vantrel test keyboard");
    ASSERT_TRUE(back && typesOnceHeld(back));
    key(back, KEY_F1, 1);
    typedKeys(1);
    ::kill(child, SIGSTOP);
    const std::string gone = node(back);
    libevdev_uinput_destroy(back);
    keyboards.clear();
    libevdev_uinput* again = makeKeyboard("Vantrel test keyboard");
    ASSERT_TRUE(again);
    EXPECT_EQ(node(again), gone);
    ::kill(child, SIGCONT);
    EXPECT_FALSE(anyKeyDown());
    EXPECT_TRUE(typesOnceHeld(again));
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
}

TEST_F(UinputTest, KeysReleasedWhileEventsWereDroppedComeUpAndAKilledMonitorLeavesNoneDown) {
    libevdev_uinput* keyboard = makeKeyboard("Vantrel test keyboard");
    ASSERT_TRUE(keyboard);
    pid_t child = forkMonitor("Vantrel test keyboard");
    ASSERT_GT(child, 0);
    ASSERT_TRUE(typesOnceHeld(keyboard));
    const auto down = [&](uint16_t code) {
        typedKeys(0);
        return libevdev_get_event_value(typed, EV_KEY, code) == 1;
    };
    key(keyboard, KEY_A, 1);
    key(keyboard, KEY_SCROLLLOCK, 1);
    EXPECT_TRUE(waitUntil([&] { return down(KEY_A) && down(KEY_PAUSE); }));

    // While the monitor sleeps, A comes up and a burst overflows its buffer.
    ::kill(child, SIGSTOP);
    key(keyboard, KEY_A, 0);
    for (int i = 0; i < 200; ++i)
        key(keyboard, KEY_B, i % 2 == 0);
    ::kill(child, SIGCONT);
    EXPECT_TRUE(waitUntil([&] { return !down(KEY_A); }));
    EXPECT_TRUE(down(KEY_PAUSE));

    // Killed outright with Scroll Lock down: the kernel takes its grab and its
    // device; a new monitor holds the keyboard once the key is up.
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    closeNode(typed);
    typed = nullptr;
    EXPECT_FALSE(held(keyboard));
    startMonitor({node(keyboard)});
    EXPECT_FALSE(held(keyboard));
    key(keyboard, KEY_SCROLLLOCK, 0);
    EXPECT_TRUE(typesOnceHeld(keyboard));
    EXPECT_FALSE(anyKeyDown());
}

} // namespace
} // namespace vantrel::test
