#pragma once

#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <vector>

struct sd_bus;

namespace vantrel {

// A D-Bus connection (sd-bus) driven by the monitor's poll loop: its socket,
// and a timerfd at sd-bus's next own time (a reply that never came). Calls
// on it are asynchronous, so nothing here waits for a peer.
class BusConnection final {
public:
    enum class Kind { System, Session };

    // Connects to the bus the environment names (DBUS_SYSTEM_BUS_ADDRESS,
    // DBUS_SESSION_BUS_ADDRESS, or their usual places); none, with whyNot
    // set, when there is no such bus.
    static std::unique_ptr<BusConnection> open(Kind kind, std::string& whyNot);
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    sd_bus* bus() const { return m_bus; }
    // False once the bus went away.
    bool connected() const { return m_connected; }

    // The descriptors to wait on, appended; also sets the timer.
    void addFds(std::vector<pollfd>& fds);
    bool owns(int fd) const;
    // Reads and dispatches what came, writes what waits.
    void process();

private:
    BusConnection(sd_bus* bus, const char* name);

    sd_bus* m_bus;
    const char* m_name;
    int m_timer;
    bool m_connected = true;
    std::optional<uint64_t> m_armed;
};

} // namespace vantrel
