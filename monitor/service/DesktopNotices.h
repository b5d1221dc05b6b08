#pragma once

#include "monitor/service/BusConnection.h"
#include "settings/LanguageStrings.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <systemd/sd-bus.h>

namespace vantrel {

// Short desktop notices of what the monitor changed by itself, through
// org.freedesktop.Notifications on the session bus. Each replaces the one
// before; a notice asked for while the last is still unanswered waits for
// its number (only the newest one waits), so the key path never waits.
class DesktopNotices final {
public:
    static constexpr const char* kAppName = "Vantrel Gaming Keyboard";

    // strings: the effect names. None, with whyNot set, without a session bus.
    static std::unique_ptr<DesktopNotices> open(LanguageStrings strings, std::string& whyNot);
    ~DesktopNotices();
    DesktopNotices(const DesktopNotices&) = delete;
    DesktopNotices& operator=(const DesktopNotices&) = delete;

    BusConnection& connection() { return *m_connection; }

    // "Profile 3: Shooter" for profile 2 (0..4).
    void profile(int profile, const std::string& name);
    // "Brightness 70 %" for level 7 of 10.
    void brightness(int32_t level);
    // "Effect: Wave".
    void effect(int32_t effect);

private:
    DesktopNotices(std::unique_ptr<BusConnection> connection, LanguageStrings strings);
    void show(std::string summary);
    static int answered(sd_bus_message* reply, void* self, sd_bus_error* error);

    std::unique_ptr<BusConnection> m_connection;
    LanguageStrings m_strings;
    sd_bus_slot* m_call = nullptr;
    uint32_t m_shown = 0; // the server's number of the last notice
    std::optional<std::string> m_waiting;
};

} // namespace vantrel
