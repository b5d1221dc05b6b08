#pragma once

#include "monitor/games/WindowSource.h"

#include <memory>
#include <optional>
#include <string>
#include <systemd/sd-bus.h>

namespace vantrel {

// Follows the active window as the desktop's shell reports it over the
// session bus: the monitor owns kBusName and serves kBusInterface's method
// ActiveWindow(s pid, s class, s instance) at kBusPath. On KDE Plasma it has
// KWin run its script (kwin/vantrel-follow-games.js of the program folder)
// through org.kde.KWin /Scripting; on GNOME the package's Shell extension
// calls it, once the user has enabled it.
class DesktopBusWatcher final : public WindowSource {
public:
    static constexpr const char* kBusName = "example.vantrel_gaming.GamingKeyboard.Monitor";
    static constexpr const char* kBusPath = "/example/vantrel_gaming/GamingKeyboard/Monitor";
    static constexpr const char* kBusInterface = "example.vantrel_gaming.GamingKeyboard.Monitor";
    static constexpr const char* kKWinScriptName = "vantrel-follow-games";

    enum class Desktop { KWin, GnomeShell };

    // Null, with a one-line reason, without a session bus, when neither KWin
    // nor GNOME Shell is on it, or when KWin does not run the script.
    static std::unique_ptr<DesktopBusWatcher> open(const std::string& programFolder,
                                                   std::string& whyNot);
    ~DesktopBusWatcher() override;
    DesktopBusWatcher(const DesktopBusWatcher&) = delete;
    DesktopBusWatcher& operator=(const DesktopBusWatcher&) = delete;

    Desktop desktop() const { return m_desktop; }
    int fd() const override;
    std::optional<ActiveWindow> readChanges() override;

private:
    DesktopBusWatcher(sd_bus* bus, Desktop desktop);
    bool serve(std::string& whyNot);
    bool runKWinScript(const std::string& script, std::string& whyNot);
    static int activeWindowCalled(sd_bus_message* call, void* data, sd_bus_error* error);

    sd_bus* m_bus;
    Desktop m_desktop;
    sd_bus_slot* m_slot = nullptr;
    bool m_gone = false;
    bool m_scriptLoaded = false;
    ActiveWindow m_active;
    std::optional<ActiveWindow> m_reported;
};

} // namespace vantrel
