#pragma once

#include "monitor/devices/KeyboardSource.h"
#include "monitor/engine/OutputDevice.h"
#include "monitor/engine/RemapEngine.h"

#include <ctime>
#include <fcntl.h>
#include <linux/input.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace vantrel::test {

// One event the engine sent, in the kernel's terms.
struct Sent {
    uint16_t type;
    uint16_t code;
    int32_t value;
    bool operator==(const Sent&) const = default;
};

inline Sent key(uint16_t code, int32_t value) {
    return {EV_KEY, code, value};
}

// The output device of the engine tests: what was sent, syncs left out.
class RecordingOutput final : public OutputDevice {
public:
    void send(uint16_t type, uint16_t code, int32_t value) override {
        sent.push_back({type, code, value});
    }
    void sync() override {}
    std::vector<Sent> take() { return std::exchange(sent, {}); }

    std::vector<Sent> sent;
};

// The actions asked for, as text.
class RecordingActions final : public RemapEngine::Actions {
public:
    void launch(const std::string& path) override { asked.push_back("launch " + path); }
    void switchProfile(int profile) override {
        asked.push_back("profile " + std::to_string(profile));
    }
    void stepBrightness(int delta) override {
        asked.push_back("brightness " + std::to_string(delta));
    }
    void nextEffect() override { asked.push_back("next effect"); }

    std::vector<std::string> asked;
};

// A keyboard fed through a pipe in the kernel's event format, so the real
// event loop reads it as it reads evdev.
class PipeKeyboard final : public KeyboardSource {
public:
    explicit PipeKeyboard(int readFd) : m_fd(readFd) {}
    ~PipeKeyboard() override { ::close(m_fd); }
    std::vector<int> fds() const override { return {m_fd}; }
    void read(int, std::vector<Event>& events) override {
        input_event event{};
        while (::read(m_fd, &event, sizeof event) == sizeof event) {
            if (event.type == EV_KEY)
                events.push_back({event.code, event.value, true});
        }
    }
    void setHeld(bool) override {}
    void setLight(uint16_t, bool) override {}

private:
    int m_fd;
};

// An output device writing the kernel's event format into a pipe, each event
// stamped with the monotonic time it was sent at, as the kernel stamps them.
class PipeOutput final : public OutputDevice {
public:
    explicit PipeOutput(int writeFd) : m_fd(writeFd) {}
    ~PipeOutput() override { ::close(m_fd); }
    void send(uint16_t type, uint16_t code, int32_t value) override {
        input_event event{};
        event.type = type;
        event.code = code;
        event.value = value;
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        event.input_event_sec = now.tv_sec;
        event.input_event_usec = now.tv_nsec / 1000;
        (void)!::write(m_fd, &event, sizeof event);
    }
    void sync() override {}

private:
    int m_fd;
};

// A pipe whose read end does not block.
struct EventPipe {
    EventPipe() {
        (void)!::pipe2(fds, O_CLOEXEC);
        ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    }
    int fds[2];
    int readEnd() const { return fds[0]; }
    int writeEnd() const { return fds[1]; }
};

inline void writeKey(int fd, uint16_t code, int32_t value) {
    input_event event{};
    event.type = EV_KEY;
    event.code = code;
    event.value = value;
    (void)!::write(fd, &event, sizeof event);
}

} // namespace vantrel::test
