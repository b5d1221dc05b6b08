#pragma once

namespace vantrel {

// Which Qt platform the program asks for. The skinned windows place, shape
// and drag themselves and grab the keyboard through X, and none of that works
// on Wayland; so where an X display is at hand (XWayland in a Wayland session)
// the program asks for xcb, unless the user chose a platform.
class PlatformChoice final {
public:
    // From QT_QPA_PLATFORM and DISPLAY, each null when unset.
    static bool asksForXcb(const char* chosenPlatform, const char* display);
};

} // namespace vantrel
