#include "settings/RecordSafety.h"

namespace vantrel {

namespace {

template <size_t N> void terminate(char (&field)[N]) {
    field[N - 1] = '\0';
}

} // namespace

void RecordSafety::makeSafe(ProfileRecord& profile) {
    terminate(profile.ProFileName);
    terminate(profile.GameFile);
    for (MacroKeyInfo& key : profile.MacroKeyInfo) {
        terminate(key.macroName);
        terminate(key.programPath);
        if (key.eventCount > kMacroEventSlots)
            key.eventCount = kMacroEventSlots;
    }
}

void RecordSafety::makeSafe(SharedBlock& settings) {
    settings.CurrentProfile = profileIndexInRange(settings.CurrentProfile);
    for (ProfileRecord& profile : settings.profiles)
        makeSafe(profile);
}

} // namespace vantrel
