#pragma once

#include "tests/ChildProgram.h"

#include <cstdlib>
#include <string>

namespace vantrel::test {

// A D-Bus daemon of the test's own, serving as both the session and the
// system bus of the process while it lives. Empty address: none could start.
class PrivateBus {
    pid_t m_daemon = -1; // before address, which starting the daemon sets

public:
    PrivateBus()
        : address(
              startProgram({"dbus-daemon", "--session", "--print-address", "--nofork"}, m_daemon)) {
        use(address);
    }
    ~PrivateBus() { stopProgram(m_daemon, SIGTERM); }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    static void use(const std::string& busAddress) {
        ::setenv("DBUS_SESSION_BUS_ADDRESS", busAddress.c_str(), 1);
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", busAddress.c_str(), 1);
    }

    const std::string address;
};

} // namespace vantrel::test
