#include "macro/MacroRecord.h"

#include "settings/TextField.h"

#include <algorithm>
#include <cstring>

namespace vantrel {

bool isSoundMacroRecord(const MacroRecord& record) {
    return std::memchr(record.name, 0, sizeof record.name) != nullptr && record.eventCount >= 0 &&
           record.eventCount <= kMacroEventSlots && record.repeatCount >= 0 &&
           record.repeatCount <= kMaxRepeatCount;
}

void repairMacroRecord(MacroRecord& record) {
    if (!std::memchr(record.name, 0, sizeof record.name))
        copyToField(record.name, fieldText(record.name));
    record.eventCount = std::clamp(record.eventCount, 0, kMacroEventSlots);
    record.repeatCount = std::clamp(record.repeatCount, 0, kMaxRepeatCount);
}

} // namespace vantrel
