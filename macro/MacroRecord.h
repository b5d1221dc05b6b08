#pragma once

#include "settings/KeyEvent.h"

#include <cstddef>
#include <cstdint>

namespace vantrel {

// One named macro; also the byte form of a macro in the store file and in
// macro files.
struct MacroRecord {
    char name[52];
    int32_t repeatCount;
    int32_t eventCount;
    KeyEvent events[kMacroEventSlots];
};

static_assert(sizeof(MacroRecord) == 260);
static_assert(offsetof(MacroRecord, repeatCount) == 52);
static_assert(offsetof(MacroRecord, eventCount) == 56);
static_assert(offsetof(MacroRecord, events) == 60);

} // namespace vantrel
