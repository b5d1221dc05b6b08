#include "monitor/games/DesktopBusWatcher.h"

#include <charconv>
#include <cstring>
#include <systemd/sd-bus.h>
#include <unistd.h>

namespace vantrel {

namespace {

constexpr const char* kKWin = "org.kde.KWin";
constexpr const char* kGnomeShell = "org.gnome.Shell";
// Longer texts are no window class of any game.
constexpr size_t kLongestClass = 256;
constexpr uint64_t kCallTimeoutUs = 2'000'000;

bool hasOwner(sd_bus* bus, const char* name) {
    sd_bus_message* reply = nullptr;
    int owned = 0;
    const bool asked = sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                          "org.freedesktop.DBus", "NameHasOwner", nullptr, &reply,
                                          "s", name) >= 0 &&
                       sd_bus_message_read(reply, "b", &owned) >= 0;
    sd_bus_message_unref(reply);
    return asked && owned;
}

} // namespace

std::unique_ptr<DesktopBusWatcher> DesktopBusWatcher::open(const std::string& programFolder,
                                                           std::string& whyNot) {
    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        whyNot = "no session bus";
        return nullptr;
    }
    sd_bus_set_method_call_timeout(bus, kCallTimeoutUs);
    Desktop desktop;
    if (hasOwner(bus, kKWin)) {
        desktop = Desktop::KWin;
    } else if (hasOwner(bus, kGnomeShell)) {
        desktop = Desktop::GnomeShell;
    } else {
        sd_bus_flush_close_unref(bus);
        whyNot = "neither KWin nor GNOME Shell is on the session bus";
        return nullptr;
    }
    std::unique_ptr<DesktopBusWatcher> watcher(new DesktopBusWatcher(bus, desktop));
    if (!watcher->serve(whyNot))
        return nullptr;
    if (desktop == Desktop::KWin &&
        !watcher->runKWinScript(programFolder + "kwin/" + kKWinScriptName + ".js", whyNot))
        return nullptr;
    return watcher;
}

DesktopBusWatcher::DesktopBusWatcher(sd_bus* bus, Desktop desktop)
    : m_bus(bus), m_desktop(desktop) {}

DesktopBusWatcher::~DesktopBusWatcher() {
    // KWin would go on calling a monitor that has gone.
    if (m_scriptLoaded && !m_gone)
        sd_bus_call_method(m_bus, kKWin, "/Scripting", "org.kde.kwin.Scripting", "unloadScript",
                           nullptr, nullptr, "s", kKWinScriptName);
    sd_bus_slot_unref(m_slot);
    sd_bus_flush_close_unref(m_bus);
}

bool DesktopBusWatcher::serve(std::string& whyNot) {
    static const sd_bus_vtable vtable[] = {
        SD_BUS_VTABLE_START(0),
        SD_BUS_METHOD("ActiveWindow", "sss", "", activeWindowCalled, SD_BUS_VTABLE_UNPRIVILEGED),
        SD_BUS_VTABLE_END,
    };
    if (sd_bus_add_object_vtable(m_bus, &m_slot, kBusPath, kBusInterface, vtable, this) < 0 ||
        sd_bus_request_name(m_bus, kBusName, 0) < 0) {
        whyNot = std::string("cannot own ") + kBusName + " on the session bus";
        return false;
    }
    return true;
}

// A script of that name left by an earlier monitor is unloaded first, or
// KWin would refuse the new one.
bool DesktopBusWatcher::runKWinScript(const std::string& script, std::string& whyNot) {
    if (::access(script.c_str(), R_OK) != 0) {
        whyNot = "the KWin script " + script + " is missing";
        return false;
    }
    sd_bus_call_method(m_bus, kKWin, "/Scripting", "org.kde.kwin.Scripting", "unloadScript",
                       nullptr, nullptr, "s", kKWinScriptName);
    sd_bus_message* reply = nullptr;
    int32_t id = -1;
    if (sd_bus_call_method(m_bus, kKWin, "/Scripting", "org.kde.kwin.Scripting", "loadScript",
                           nullptr, &reply, "ss", script.c_str(), kKWinScriptName) < 0 ||
        sd_bus_message_read(reply, "i", &id) < 0 || id < 0) {
        sd_bus_message_unref(reply);
        whyNot = "KWin did not load " + script;
        return false;
    }
    sd_bus_message_unref(reply);
    m_scriptLoaded = true;
    // KWin 6 keeps a script at /Scripting/Script<id>, KWin 5 at /<id>.
    for (const std::string& path :
         {"/Scripting/Script" + std::to_string(id), "/" + std::to_string(id)}) {
        if (sd_bus_call_method(m_bus, kKWin, path.c_str(), "org.kde.kwin.Script", "run", nullptr,
                               nullptr, "") >= 0)
            return true;
    }
    whyNot = "KWin did not run " + script;
    return false;
}

int DesktopBusWatcher::activeWindowCalled(sd_bus_message* call, void* data, sd_bus_error* error) {
    auto* watcher = static_cast<DesktopBusWatcher*>(data);
    // Only this user's desktop tells the monitor what it follows.
    sd_bus_creds* creds = nullptr;
    uid_t sender = 0;
    const bool known = sd_bus_query_sender_creds(call, SD_BUS_CREDS_EUID, &creds) >= 0 &&
                       sd_bus_creds_get_euid(creds, &sender) >= 0;
    sd_bus_creds_unref(creds);
    if (!known || sender != ::geteuid())
        return sd_bus_error_set(error, SD_BUS_ERROR_ACCESS_DENIED, "not this user's desktop");

    const char* pidText = nullptr;
    const char* windowClass = nullptr;
    const char* instance = nullptr;
    const int read = sd_bus_message_read(call, "sss", &pidText, &windowClass, &instance);
    if (read < 0)
        return read;
    int pid = 0;
    const char* pidEnd = pidText + std::strlen(pidText);
    if (std::from_chars(pidText, pidEnd, pid).ptr != pidEnd || pid < 0 ||
        std::strlen(windowClass) > kLongestClass || std::strlen(instance) > kLongestClass)
        return sd_bus_error_set(error, SD_BUS_ERROR_INVALID_ARGS, "not a window");
    std::vector<std::string> classes;
    for (const char* name : {windowClass, instance}) {
        if (*name)
            classes.emplace_back(name);
    }
    watcher->m_active = ActiveWindow::ofProcess(pid, std::move(classes));
    return sd_bus_reply_method_return(call, "");
}

int DesktopBusWatcher::fd() const {
    return m_gone ? -1 : sd_bus_get_fd(m_bus);
}

std::optional<ActiveWindow> DesktopBusWatcher::readChanges() {
    if (!m_gone) {
        int processed = 0;
        while ((processed = sd_bus_process(m_bus, nullptr)) > 0) {
        }
        if (processed < 0 || sd_bus_flush(m_bus) < 0) {
            m_gone = true;
            m_active = {};
        }
    }
    if (m_reported == m_active)
        return std::nullopt;
    m_reported = m_active;
    return m_active;
}

} // namespace vantrel
