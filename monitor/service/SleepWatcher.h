#pragma once

#include "monitor/service/BusConnection.h"

#include <functional>
#include <memory>
#include <string>
#include <systemd/sd-bus.h>

namespace vantrel {

// Sleep as logind announces it on the system bus: a "delay" inhibitor lock
// holds the sleep back until the monitor has let go of every key; then the
// lock is closed and sleep goes on. After resume a new lock is taken.
class SleepWatcher final {
public:
    // sleeping: true before the machine sleeps, false once it is back.
    using Handler = std::function<void(bool sleeping)>;

    // Watches the system bus; none, with whyNot set, without one. Without
    // logind it says so once on stderr and does nothing.
    static std::unique_ptr<SleepWatcher> open(Handler handler, std::string& whyNot);
    ~SleepWatcher();
    SleepWatcher(const SleepWatcher&) = delete;
    SleepWatcher& operator=(const SleepWatcher&) = delete;

    BusConnection& connection() { return *m_connection; }
    // The sleep waits for the monitor.
    bool inhibiting() const { return m_lock >= 0; }

private:
    SleepWatcher(std::unique_ptr<BusConnection> connection, Handler handler);
    void inhibit();
    void releaseLock();
    static int sleepSignal(sd_bus_message* message, void* self, sd_bus_error* error);
    static int inhibited(sd_bus_message* reply, void* self, sd_bus_error* error);

    std::unique_ptr<BusConnection> m_connection;
    Handler m_handler;
    sd_bus_slot* m_match = nullptr;
    sd_bus_slot* m_call = nullptr;
    int m_lock = -1;
    bool m_sleeping = false;
    bool m_toldNoLogind = false;
};

} // namespace vantrel
