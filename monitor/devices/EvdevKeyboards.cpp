#include "monitor/devices/EvdevKeyboards.h"

#include "monitor/devices/UinputDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

namespace {

bool isEventNode(const char* name) {
    return std::strncmp(name, "event", 5) == 0;
}

} // namespace

EvdevKeyboards::EvdevKeyboards(std::vector<std::string> names, bool grab)
    : m_names(std::move(names)), m_grab(grab) {
    m_lights.fill(-1); // not set yet: the keyboard keeps its own
}

EvdevKeyboards::~EvdevKeyboards() {
    while (!m_keyboards.empty())
        remove(m_keyboards.size() - 1);
    if (m_watch >= 0)
        ::close(m_watch);
}

bool EvdevKeyboards::wanted(const std::string& path, const char* name) const {
    if (m_names.empty())
        return true;
    return std::any_of(m_names.begin(), m_names.end(),
                       [&](const std::string& n) { return n == path || n == name; });
}

void EvdevKeyboards::add(const std::string& path) {
    if (std::any_of(m_keyboards.begin(), m_keyboards.end(),
                    [&](const Keyboard& k) { return k.path == path; }))
        return;
    // Writable for its lights where allowed; readable is enough to drive it.
    int fd = ::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == EACCES)
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    libevdev* device = nullptr;
    if (libevdev_new_from_fd(fd, &device) != 0) {
        ::close(fd);
        return;
    }
    const char* name = libevdev_get_name(device);
    // Letter keys make a keyboard; the monitor's own output is never read back.
    const bool keyboard = libevdev_has_event_code(device, EV_KEY, KEY_A) &&
                          libevdev_has_event_code(device, EV_KEY, KEY_Z) &&
                          std::strcmp(name, UinputDevice::kName) != 0;
    if (!keyboard || !wanted(path, name)) {
        libevdev_free(device);
        ::close(fd);
        return;
    }
    m_keyboards.push_back({path, fd, device, false});
    grabWhenIdle(m_keyboards.back());
    showLights(m_keyboards.back());
}

void EvdevKeyboards::remove(size_t index) {
    Keyboard& keyboard = m_keyboards[index];
    libevdev_free(keyboard.device);
    ::close(keyboard.fd);
    m_keyboards.erase(m_keyboards.begin() + static_cast<std::ptrdiff_t>(index));
}

bool EvdevKeyboards::open(std::string& whyNot) {
    m_watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // Permissions are set just after a node appears, so changes count too.
    if (m_watch < 0 || ::inotify_add_watch(m_watch, kInputFolder, IN_CREATE | IN_ATTRIB) < 0) {
        whyNot = std::string(kInputFolder) + ": " + std::strerror(errno);
        return false;
    }
    DIR* folder = ::opendir(kInputFolder);
    if (!folder) {
        whyNot = std::string(kInputFolder) + ": " + std::strerror(errno);
        return false;
    }
    std::string unreadable;
    while (const dirent* entry = ::readdir(folder)) {
        if (!isEventNode(entry->d_name))
            continue;
        const std::string path = std::string(kInputFolder) + "/" + entry->d_name;
        add(path);
        if (::access(path.c_str(), R_OK) != 0)
            unreadable = path;
    }
    ::closedir(folder);
    if (m_keyboards.empty())
        whyNot = unreadable.empty() ? "no keyboard found in " + std::string(kInputFolder)
                                    : unreadable + ": no permission to read keyboards";
    return true;
}

std::vector<std::string> EvdevKeyboards::describe() const {
    std::vector<std::string> lines;
    for (const Keyboard& k : m_keyboards) {
        const char* state = !m_grab     ? "read"
                            : k.grabbed ? "held"
                            : m_held    ? "waiting for its keys to come up"
                                        : "let go (escape chord)";
        lines.push_back(k.path + " \"" + libevdev_get_name(k.device) + "\": " + state);
    }
    return lines;
}

std::vector<int> EvdevKeyboards::fds() const {
    std::vector<int> fds;
    if (m_watch >= 0)
        fds.push_back(m_watch);
    for (const Keyboard& k : m_keyboards)
        fds.push_back(k.fd);
    return fds;
}

void EvdevKeyboards::dropReplaced(const std::string& path, std::vector<Event>& events) {
    for (size_t i = 0; i < m_keyboards.size(); ++i) {
        if (m_keyboards[i].path != path)
            continue;
        struct stat node {};
        struct stat held {};
        if (::stat(path.c_str(), &node) == 0 && ::fstat(m_keyboards[i].fd, &held) == 0 &&
            node.st_ino == held.st_ino && node.st_dev == held.st_dev)
            return;
        releaseKeys(m_keyboards[i], events);
        remove(i);
        return;
    }
}

void EvdevKeyboards::readFolderChanges(std::vector<Event>& events) {
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(m_watch, buffer, sizeof buffer);
        if (got <= 0)
            return;
        for (ssize_t at = 0; at < got;) {
            const auto* change = reinterpret_cast<const inotify_event*>(buffer + at);
            if (change->len && isEventNode(change->name)) {
                const std::string path = std::string(kInputFolder) + "/" + change->name;
                dropReplaced(path, events);
                add(path);
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + change->len);
        }
    }
}

void EvdevKeyboards::grabWhenIdle(Keyboard& keyboard) {
    if (!m_grab || !m_held || keyboard.grabbed)
        return;
    for (unsigned code = 0; code <= KEY_MAX; ++code) {
        if (libevdev_get_event_value(keyboard.device, EV_KEY, code))
            return;
    }
    keyboard.grabbed = libevdev_grab(keyboard.device, LIBEVDEV_GRAB) == 0;
}

bool EvdevKeyboards::readKeyboard(Keyboard& keyboard, std::vector<Event>& events) {
    bool present = true;
    unsigned flags = LIBEVDEV_READ_FLAG_NORMAL;
    for (;;) {
        input_event event{};
        const int status = libevdev_next_event(keyboard.device, flags, &event);
        if (status == LIBEVDEV_READ_STATUS_SYNC) {
            // Events were dropped: catch up on the keys' real state.
            flags = LIBEVDEV_READ_FLAG_SYNC;
        } else if (status == -EAGAIN && flags == LIBEVDEV_READ_FLAG_SYNC) {
            flags = LIBEVDEV_READ_FLAG_NORMAL;
            continue;
        } else if (status != LIBEVDEV_READ_STATUS_SUCCESS) {
            present = status != -ENODEV;
            break;
        }
        if (event.type == EV_KEY) {
            const bool forEngine = !m_grab || keyboard.grabbed;
            events.push_back({event.code, event.value, forEngine});
        }
    }
    grabWhenIdle(keyboard);
    return present;
}

void EvdevKeyboards::releaseKeys(const Keyboard& keyboard, std::vector<Event>& events) const {
    const bool forEngine = !m_grab || keyboard.grabbed;
    for (uint16_t code = 0; code < KEY_CNT; ++code) {
        if (libevdev_get_event_value(keyboard.device, EV_KEY, code) != 0)
            events.push_back({code, 0, forEngine});
    }
}

void EvdevKeyboards::read(int fd, std::vector<Event>& events) {
    if (fd == m_watch) {
        readFolderChanges(events);
        return;
    }
    for (size_t i = 0; i < m_keyboards.size(); ++i) {
        if (m_keyboards[i].fd != fd)
            continue;
        // An unplugged keyboard reads as gone; what its keys held goes up.
        if (!readKeyboard(m_keyboards[i], events)) {
            releaseKeys(m_keyboards[i], events);
            remove(i);
        }
        return;
    }
}

void EvdevKeyboards::showLights(Keyboard& keyboard) {
    for (unsigned led = 0; led < LED_CNT; ++led) {
        if (m_lights[led] >= 0 && libevdev_has_event_code(keyboard.device, EV_LED, led))
            libevdev_kernel_set_led_value(keyboard.device, led,
                                          m_lights[led] ? LIBEVDEV_LED_ON : LIBEVDEV_LED_OFF);
    }
}

void EvdevKeyboards::setLight(uint16_t code, bool on) {
    if (code >= LED_CNT)
        return;
    m_lights[code] = on;
    for (Keyboard& k : m_keyboards) {
        if (libevdev_has_event_code(k.device, EV_LED, code))
            libevdev_kernel_set_led_value(k.device, code, on ? LIBEVDEV_LED_ON : LIBEVDEV_LED_OFF);
    }
}

void EvdevKeyboards::setHeld(bool held) {
    m_held = held;
    for (Keyboard& k : m_keyboards) {
        if (!held && k.grabbed) {
            libevdev_grab(k.device, LIBEVDEV_UNGRAB);
            k.grabbed = false;
        } else if (held) {
            grabWhenIdle(k);
        }
    }
}

} // namespace vantrel
