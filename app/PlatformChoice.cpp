#include "app/PlatformChoice.h"

namespace vantrel {

bool PlatformChoice::asksForXcb(const char* chosenPlatform, const char* display) {
    // Qt takes an empty QT_QPA_PLATFORM as none chosen.
    const bool chosen = chosenPlatform && *chosenPlatform;
    return !chosen && display && *display;
}

} // namespace vantrel
