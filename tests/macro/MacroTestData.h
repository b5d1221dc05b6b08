#pragma once

#include "macro/MacroRecord.h"
#include "settings/MacroKeyInfo.h"
#include "settings/TextField.h"

#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

namespace vantrel::test {

inline MacroRecord makeMacro(std::string_view name, std::initializer_list<KeyEvent> events,
                             int32_t repeatCount = 1) {
    MacroRecord record;
    std::memset(&record, 0, sizeof record);
    copyToField(record.name, name);
    record.repeatCount = repeatCount;
    for (const KeyEvent& event : events)
        record.events[record.eventCount++] = event;
    return record;
}

// A key assigned to a macro of that name with these events.
inline MacroKeyInfo macroKey(std::string_view name, std::initializer_list<KeyEvent> events) {
    MacroKeyInfo key;
    std::memset(&key, 0, sizeof key);
    key.assignType = kAssignMacro;
    copyToField(key.macroName, name);
    for (const KeyEvent& event : events)
        key.events[key.eventCount++] = event;
    return key;
}

inline bool sameBytes(const MacroRecord& a, const MacroRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace vantrel::test
