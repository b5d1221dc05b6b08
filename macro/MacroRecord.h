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

inline constexpr int32_t kMaxRepeatCount = 255;

// True when the record can be used as it is: its name ends within the field,
// eventCount is 0..50 and repeatCount 0..255.
bool isSoundMacroRecord(const MacroRecord& record);
// Makes a record from a file safe to use: the name is cut to the field at a
// UTF-8 boundary and terminated, the counts are brought into their ranges.
void repairMacroRecord(MacroRecord& record);

} // namespace vantrel
