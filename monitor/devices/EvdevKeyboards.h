#pragma once

#include "monitor/devices/KeyboardSource.h"

#include <array>
#include <linux/input-event-codes.h>
#include <memory>
#include <string>
#include <vector>

struct libevdev;

namespace vantrel {

// The physical keyboards through evdev: every device with letter keys, or
// those named, found again as they are plugged in (inotify on /dev/input).
// Held keyboards are grabbed, so only the monitor sees their keys; a grab
// waits until no key of the keyboard is down, so that no key pressed before
// it stays down for the desktop. The grab ends with the file, so it can never
// outlive the monitor.
class EvdevKeyboards final : public KeyboardSource {
public:
    static constexpr const char* kInputFolder = "/dev/input";

    // names: device names or /dev/input/event* paths; empty for every keyboard.
    // grab false reads without holding (for a dry run): every event is then
    // the engine's.
    EvdevKeyboards(std::vector<std::string> names, bool grab);
    ~EvdevKeyboards() override;
    EvdevKeyboards(const EvdevKeyboards&) = delete;
    EvdevKeyboards& operator=(const EvdevKeyboards&) = delete;

    // Opens the keyboards there are and starts watching for more; false, with
    // the reason, when the input folder cannot be watched. When it opened no
    // keyboard, whyNot says why.
    bool open(std::string& whyNot);

    std::vector<int> fds() const override;
    void read(int fd, std::vector<Event>& events) override;
    void setHeld(bool held) override;
    void setLight(uint16_t code, bool on) override;
    // Each keyboard by path and name, held or waiting for its keys to come up.
    std::vector<std::string> describe() const override;

private:
    struct Keyboard {
        std::string path;
        int fd = -1;
        libevdev* device = nullptr;
        bool grabbed = false;
    };

    // Opens one event device when it is a keyboard to read.
    void add(const std::string& path);
    void remove(size_t index);
    void readFolderChanges(std::vector<Event>& events);
    // A node made anew under the path of a keyboard held is another device
    // (the same keyboard back after an unplug or a resume): the old one is
    // gone, and what its keys held goes up.
    void dropReplaced(const std::string& path, std::vector<Event>& events);
    // False when the keyboard is gone.
    bool readKeyboard(Keyboard& keyboard, std::vector<Event>& events);
    // A release of every key the keyboard has down.
    void releaseKeys(const Keyboard& keyboard, std::vector<Event>& events) const;
    void grabWhenIdle(Keyboard& keyboard);
    void showLights(Keyboard& keyboard);
    bool wanted(const std::string& path, const char* name) const;

    std::vector<std::string> m_names;
    bool m_grab;
    bool m_held = true;
    int m_watch = -1;
    std::vector<Keyboard> m_keyboards;
    // The lights the desktop last set, for keyboards plugged in later too.
    std::array<int8_t, LED_CNT> m_lights;
};

} // namespace vantrel
