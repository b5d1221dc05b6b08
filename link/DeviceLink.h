#pragma once

#include "settings/SharedBlock.h"

#include <cstdint>

namespace vantrel {

// The program's side of the monitor's named objects: the block, its mutex and
// the monitor's mailbox.
class DeviceLink {
public:
    enum class OpenResult { Open, Absent, CannotMap };

    virtual ~DeviceLink() = default;

    // Opens the mutex, then the block.
    virtual OpenResult openLink() = 0;
    // One whole-block copy under the mutex; false, copying nothing, when the
    // link is closed or the wait fails.
    virtual bool readBlock(SharedBlock& target) = 0;
    // The start-up read: a wait that found the last owner dead, and so made
    // the mutex consistent, is followed by one more (bounded) wait.
    virtual bool readBlockAtStartUp(SharedBlock& target) { return readBlock(target); }
    virtual bool writeBlock(const SharedBlock& source) = 0;
    // Posts 1224 with the code to the monitor; false when it is not there.
    virtual bool notifyMonitor(uint32_t code) = 0;
    virtual void closeLink() = 0;
};

} // namespace vantrel
