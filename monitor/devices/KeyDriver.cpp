#include "monitor/devices/KeyDriver.h"

#include <algorithm>
#include <cstdint>
#include <sys/timerfd.h>
#include <unistd.h>

namespace vantrel {

KeyDriver::KeyDriver(std::unique_ptr<KeyboardSource> source, OutputDevice& output,
                     RemapEngine::Actions& actions)
    : m_source(std::move(source)), m_output(output), m_engine(output, actions),
      // steady_clock is CLOCK_MONOTONIC, so the engine's times set the timer directly.
      m_timer(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {}

KeyDriver::~KeyDriver() {
    m_engine.releaseAll();
    ::close(m_timer);
}

void KeyDriver::addFds(std::vector<pollfd>& fds) const {
    fds.push_back({m_timer, POLLIN, 0});
    if (m_output.lightsFd() >= 0)
        fds.push_back({m_output.lightsFd(), POLLIN, 0});
    for (const int fd : m_source->fds())
        fds.push_back({fd, POLLIN, 0});
}

void KeyDriver::handle(int fd) {
    if (fd == m_timer) {
        uint64_t expirations = 0;
        (void)!::read(m_timer, &expirations, sizeof expirations);
        m_engine.advance(RemapEngine::TimePoint::clock::now());
        armTimer();
        return;
    }
    if (fd == m_output.lightsFd()) {
        m_lights.clear();
        m_output.readLights(m_lights);
        for (const OutputDevice::Light& light : m_lights)
            m_source->setLight(light.code, light.on);
        return;
    }
    m_events.clear();
    m_source->read(fd, m_events);
    const auto now = RemapEngine::TimePoint::clock::now();
    for (const KeyboardSource::Event& event : m_events) {
        if (m_chord.update(event.code, event.value)) {
            m_holding = !m_holding;
            if (!m_holding)
                m_engine.releaseAll();
            m_source->setHeld(m_holding);
            continue;
        }
        if (m_holding && event.held)
            m_engine.key(event.code, event.value, now);
    }
    armTimer();
}

void KeyDriver::armTimer() {
    itimerspec when{};
    if (const auto due = m_engine.nextDue()) {
        const auto ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(due->time_since_epoch()).count();
        // A time already past still has to fire: zero would disarm the timer.
        when.it_value.tv_sec = std::max<int64_t>(ns / 1'000'000'000, 0);
        when.it_value.tv_nsec = std::max<int64_t>(ns % 1'000'000'000, 1);
    }
    ::timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &when, nullptr);
}

} // namespace vantrel
