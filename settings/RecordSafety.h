#pragma once

#include "settings/ProfileRecord.h"
#include "settings/SharedBlock.h"

namespace vantrel {

// Records read from a file or from the monitor may hold anything. Before use
// every text field ends within itself, no key claims more than 50 events, and
// the current profile lies in 0..4.
class RecordSafety final {
public:
    static void makeSafe(ProfileRecord& profile);
    static void makeSafe(SharedBlock& settings);
};

} // namespace vantrel
