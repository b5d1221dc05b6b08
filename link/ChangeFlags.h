#pragma once

#include "settings/SharedBlock.h"

namespace vantrel {

// The change marks that travel with the next apply and tell the monitor what
// to send to the keyboard. The two spare words are never touched here.
class ChangeFlags final {
public:
    // Every mark to 0, flagsE included.
    static void clearChangeFlags(SharedBlock& settings);
    // Every mark to 1 but flagsE, which only the monitor sets.
    static void markAllChanged(SharedBlock& settings);
    // The current profile was reset.
    static void markProfileChanged(SharedBlock& settings, int profile);
    // A profile file was loaded into the profile.
    static void markProfileLoaded(SharedBlock& settings, int profile);
    static void markKeyChanged(SharedBlock& settings, int profile, int key);
};

} // namespace vantrel
