#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vantrel {

// What the game sources know of the focused window: its process (when they
// know it) and its class names. All empty when no window has the focus.
struct ActiveWindow {
    // The process's executable, absolute; "" when unknown or another user's.
    std::string exe;
    // The process's arguments, argv[0] first; Wine puts the Windows program there.
    std::vector<std::string> commandLine;
    // The process's working folder, which a relative argv[0] is taken from.
    std::string workingFolder;
    // The Wine prefix its environment names (WINEPREFIX, else ~/.wine).
    std::string winePrefix;
    // X11 WM_CLASS instance and class, a Wayland app_id, a KWin resource class.
    std::vector<std::string> classes;

    bool operator==(const ActiveWindow&) const = default;

    // The facts of a process of this user; only the classes for anybody
    // else's, whose program is not this user's to follow.
    static ActiveWindow ofProcess(pid_t pid, std::vector<std::string> classes);
};

} // namespace vantrel
