#include "monitor/lighting/KeyboardLighting.h"

#include <algorithm>
#include <sys/timerfd.h>
#include <unistd.h>

namespace vantrel {

KeyboardLighting::KeyboardLighting(std::unique_ptr<OpenRgbClient> client)
    : m_client(std::move(client)),
      // steady_clock is CLOCK_MONOTONIC, so its times set the timer directly.
      m_timer(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {}

KeyboardLighting::~KeyboardLighting() {
    ::close(m_timer);
}

int64_t KeyboardLighting::milliseconds(Clock::time_point t) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(t.time_since_epoch()).count();
}

void KeyboardLighting::setProfile(const ProfileRecord& profile) {
    m_renderer.setProfile(profile);
    m_changed = true;
}

void KeyboardLighting::keyPressed(int position, Clock::time_point now) {
    if (position < 0 || position >= kKeyPositions)
        return;
    // No frame of its own: a press that shows makes the effect move, and
    // moving frames come at their pace.
    m_renderer.keyPressed(position, milliseconds(now));
}

void KeyboardLighting::resumed(Clock::time_point now) {
    m_client->takeAgain(now);
    m_changed = true;
}

void KeyboardLighting::addFds(std::vector<pollfd>& fds) const {
    fds.push_back({m_timer, POLLIN, 0});
    if (m_client->fd() >= 0)
        fds.push_back({m_client->fd(), m_client->events(), 0});
}

void KeyboardLighting::handle(const pollfd& fd, Clock::time_point now) {
    if (fd.fd == m_timer) {
        uint64_t expirations = 0;
        (void)!::read(m_timer, &expirations, sizeof expirations);
        m_armed.reset();
    } else {
        m_client->handle(fd.revents, now);
    }
}

void KeyboardLighting::update(Clock::time_point now) {
    m_client->advance(now);
    bool moving = false;
    if (m_client->ready()) {
        moving = m_renderer.moving(milliseconds(now));
        // One more frame after the last moving one shows where the effect came to rest.
        const bool cameToRest = m_moving && !moving;
        if (m_client->takeFrameWanted() || m_changed || cameToRest ||
            (moving && now >= m_nextFrame)) {
            m_client->sendFrame(m_renderer.render(milliseconds(now)), now);
            m_changed = false;
            m_nextFrame = now + kFrameInterval;
        }
    }
    m_moving = moving;
    std::optional<Clock::time_point> due = m_client->nextDue();
    if (moving)
        due = std::min(due.value_or(m_nextFrame), m_nextFrame);
    if (due == m_armed)
        return;
    itimerspec when{};
    if (due) {
        const auto ns =
            std::chrono::duration_cast<std::chrono::nanoseconds>(due->time_since_epoch()).count();
        // A time already past still has to fire: zero would disarm the timer.
        when.it_value.tv_sec = std::max<int64_t>(ns / 1'000'000'000, 0);
        when.it_value.tv_nsec = std::max<int64_t>(ns % 1'000'000'000, 1);
    }
    ::timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &when, nullptr);
    m_armed = due;
}

} // namespace vantrel
