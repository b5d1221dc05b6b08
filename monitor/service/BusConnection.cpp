#include "monitor/service/BusConnection.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/timerfd.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace vantrel {

BusConnection::BusConnection(sd_bus* bus, const char* name)
    : m_bus(bus), m_name(name),
      // sd-bus gives its times on CLOCK_MONOTONIC.
      m_timer(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {}

BusConnection::~BusConnection() {
    // No flush: a peer that does not read must not hold up the end.
    sd_bus_close_unref(m_bus);
    ::close(m_timer);
}

std::unique_ptr<BusConnection> BusConnection::open(Kind kind, std::string& whyNot) {
    sd_bus* bus = nullptr;
    const bool system = kind == Kind::System;
    const int status = system ? sd_bus_open_system(&bus) : sd_bus_open_user(&bus);
    if (status < 0) {
        whyNot =
            std::string(system ? "no system bus: " : "no session bus: ") + std::strerror(-status);
        return nullptr;
    }
    return std::unique_ptr<BusConnection>(
        new BusConnection(bus, system ? "the system bus" : "the session bus"));
}

void BusConnection::addFds(std::vector<pollfd>& fds) {
    if (!m_connected)
        return;
    const int events = sd_bus_get_events(m_bus);
    if (events < 0) {
        process(); // says that it went away
        return;
    }
    fds.push_back({sd_bus_get_fd(m_bus), static_cast<short>(events), 0});
    uint64_t due = UINT64_MAX;
    if (sd_bus_get_timeout(m_bus, &due) < 0)
        due = UINT64_MAX;
    const std::optional<uint64_t> wanted =
        due == UINT64_MAX ? std::nullopt : std::optional<uint64_t>(due);
    if (wanted != m_armed) {
        itimerspec when{};
        if (wanted) {
            // A time already past still has to fire: zero would disarm the timer.
            when.it_value.tv_sec = static_cast<time_t>(*wanted / 1'000'000);
            when.it_value.tv_nsec =
                std::max<long>(static_cast<long>(*wanted % 1'000'000) * 1000, 1);
        }
        ::timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &when, nullptr);
        m_armed = wanted;
    }
    fds.push_back({m_timer, POLLIN, 0});
}

bool BusConnection::owns(int fd) const {
    return m_connected && (fd == m_timer || fd == sd_bus_get_fd(m_bus));
}

void BusConnection::process() {
    uint64_t expirations = 0;
    (void)!::read(m_timer, &expirations, sizeof expirations);
    m_armed.reset();
    int status = 0;
    while ((status = sd_bus_process(m_bus, nullptr)) > 0) {
    }
    if (status < 0 || !sd_bus_is_open(m_bus)) {
        std::fprintf(stderr, "vantrel-monitor: %s went away: %s\n", m_name,
                     std::strerror(status < 0 ? -status : ECONNRESET));
        m_connected = false;
    }
}

} // namespace vantrel
