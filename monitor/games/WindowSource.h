#pragma once

#include "monitor/games/ActiveWindow.h"

#include <memory>
#include <optional>
#include <string>

namespace vantrel {

// Where the focused window comes from: the X display, a Wayland compositor
// or the desktop's shell. It never blocks: poll fd() and call readChanges()
// when it is readable.
class WindowSource {
public:
    virtual ~WindowSource() = default;

    // The descriptor to poll for reading; -1 once the source has gone, which
    // poll skips, so take it anew for each poll.
    virtual int fd() const = 0;
    // Handles what came. Returns the focused window when it differs from the
    // one last reported (the first call reports it in any case); all empty
    // when no window has the focus and once the source has gone.
    virtual std::optional<ActiveWindow> readChanges() = 0;

    // The source this desktop offers: a wlroots compositor's toplevel list,
    // KWin or GNOME Shell over the session bus, else the X display (XWayland
    // too). said names it, or says why there is none. The KWin script is
    // looked for in programFolder.
    static std::unique_ptr<WindowSource> open(const std::string& programFolder, std::string& said);
};

} // namespace vantrel
