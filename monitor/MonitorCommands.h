#pragma once

#include "settings/SharedBlock.h"

#include <cstdint>
#include <string>

namespace vantrel {

// What a person or a test can make a running monitor do from a shell. Each
// returns false when the monitor's objects cannot be reached.
class MonitorCommands final {
public:
    // Writes FWVersion into config.ini, then posts "firmware changed".
    static bool firmware(const std::string& runtimeDir, const std::string& configFolder,
                         int32_t version);
    // Renames a profile in the block, then posts "block changed".
    static bool renameProfile(const std::string& runtimeDir, int profile, const std::string& name);
    // Makes the profile current and sets its effect (LtSwitch), then posts
    // "device changed".
    static bool switchProfile(const std::string& runtimeDir, int profile, int32_t effect);
    // The block's current profile and change flags as text.
    static bool flags(const std::string& runtimeDir, std::string& text);

    // One line for the current profile, one per profile with its marks, one for flagB.
    static std::string describeFlags(const SharedBlock& block);
};

} // namespace vantrel
