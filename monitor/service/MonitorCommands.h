#pragma once

#include "settings/SharedBlock.h"

#include <cstdint>
#include <string>

namespace vantrel {

// What a person or a test can make a running monitor do from a shell. Each
// says what happened; a wait on the block's mutex that finds its last owner
// dead is tried once more.
class MonitorCommands final {
public:
    struct Result {
        enum class Kind {
            Done,
            NoMonitor,     // the block or its mutex is not there
            LockNotTaken,  // the mutex stayed held, or its owners kept dying
            NotWritten,    // config.ini could not be read whole or written
            NoSuchProfile, // a profile number outside 0..4
        };
        Kind kind;

        explicit operator bool() const { return kind == Kind::Done; }
        // The line a shell shows when it is not done.
        std::string failureText() const;
    };

    // Writes FWVersion into config.ini, then posts "firmware changed".
    static Result firmware(const std::string& runtimeDir, const std::string& configFolder,
                           int32_t version);
    // Renames a profile in the block, then posts "block changed".
    static Result renameProfile(const std::string& runtimeDir, int profile,
                                const std::string& name);
    // Makes the profile current and sets its effect (LtSwitch), then posts
    // "device changed".
    static Result switchProfile(const std::string& runtimeDir, int profile, int32_t effect);
    // A copy of the whole block.
    static Result readBlock(const std::string& runtimeDir, SharedBlock& copy);
    // The block's current profile and change flags as text.
    static Result flags(const std::string& runtimeDir, std::string& text);

    // One line for the current profile, one per profile with its marks, one for flagB.
    static std::string describeFlags(const SharedBlock& block);
};

} // namespace vantrel
