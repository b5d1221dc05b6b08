#include "monitor/service/SleepWatcher.h"

#include <cstdio>
#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace vantrel {

namespace {

constexpr const char* kLogind = "org.freedesktop.login1";
constexpr const char* kLogindPath = "/org/freedesktop/login1";
constexpr const char* kManager = "org.freedesktop.login1.Manager";

} // namespace

SleepWatcher::SleepWatcher(std::unique_ptr<BusConnection> connection, Handler handler)
    : m_connection(std::move(connection)), m_handler(std::move(handler)) {}

SleepWatcher::~SleepWatcher() {
    sd_bus_slot_unref(m_call);
    sd_bus_slot_unref(m_match);
    releaseLock();
}

std::unique_ptr<SleepWatcher> SleepWatcher::open(Handler handler, std::string& whyNot) {
    auto connection = BusConnection::open(BusConnection::Kind::System, whyNot);
    if (!connection)
        return nullptr;
    std::unique_ptr<SleepWatcher> watcher(
        new SleepWatcher(std::move(connection), std::move(handler)));
    // The match before the lock: once logind has seen the call, the match is in place.
    const int status = sd_bus_match_signal_async(
        watcher->m_connection->bus(), &watcher->m_match, kLogind, kLogindPath, kManager,
        "PrepareForSleep", &SleepWatcher::sleepSignal, nullptr, watcher.get());
    if (status < 0) {
        whyNot = "cannot watch for sleep on the system bus";
        return nullptr;
    }
    watcher->inhibit();
    return watcher;
}

void SleepWatcher::inhibit() {
    if (m_call || m_lock >= 0)
        return;
    sd_bus_call_method_async(m_connection->bus(), &m_call, kLogind, kLogindPath, kManager,
                             "Inhibit", &SleepWatcher::inhibited, this, "ssss", "sleep",
                             "Vantrel Gaming Keyboard", "Letting go of the keys before sleep",
                             "delay");
}

void SleepWatcher::releaseLock() {
    if (m_lock >= 0)
        ::close(m_lock);
    m_lock = -1;
}

int SleepWatcher::inhibited(sd_bus_message* reply, void* self, sd_bus_error*) {
    auto& watcher = *static_cast<SleepWatcher*>(self);
    watcher.m_call = sd_bus_slot_unref(watcher.m_call);
    int fd = -1;
    if (const sd_bus_error* error = sd_bus_message_get_error(reply)) {
        if (!watcher.m_toldNoLogind)
            std::fprintf(stderr, "vantrel-monitor: keys are not let go of before sleep: %s\n",
                         error->message ? error->message : error->name);
        watcher.m_toldNoLogind = true;
    } else if (sd_bus_message_read(reply, "h", &fd) >= 0) {
        // The reply owns its descriptor.
        watcher.m_lock = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
        // Granted after the sleep began: it would only hold the sleep back.
        if (watcher.m_sleeping)
            watcher.releaseLock();
    }
    return 0;
}

int SleepWatcher::sleepSignal(sd_bus_message* message, void* self, sd_bus_error*) {
    auto& watcher = *static_cast<SleepWatcher*>(self);
    int sleeping = 0;
    if (sd_bus_message_read(message, "b", &sleeping) < 0)
        return 0;
    watcher.m_sleeping = sleeping != 0;
    watcher.m_handler(watcher.m_sleeping);
    if (sleeping)
        watcher.releaseLock();
    else
        watcher.inhibit();
    return 0;
}

} // namespace vantrel
