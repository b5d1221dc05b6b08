#include "monitor/games/WindowSource.h"

#include "monitor/games/ActiveWindowWatcher.h"
#include "monitor/games/WlrToplevelWatcher.h"

#include <cstdlib>

namespace vantrel {

std::unique_ptr<WindowSource> WindowSource::open(const std::string&, std::string& said) {
    std::string notWayland;
    if (auto wlr = WlrToplevelWatcher::open(notWayland)) {
        said = std::string("the wlroots window list of Wayland display ") +
               std::getenv("WAYLAND_DISPLAY");
        return wlr;
    }
    std::string notX11;
    if (auto x11 = ActiveWindowWatcher::open(notX11)) {
        said = std::string("the X display ") + std::getenv("DISPLAY");
        return x11;
    }
    said = notWayland + "; " + notX11;
    return nullptr;
}

} // namespace vantrel
