#pragma once

#include "settings/KeyEvent.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vantrel {

// What one key position does. The layout travels byte for byte to the monitor
// and into profile files, so every offset is fixed.
struct MacroKeyInfo {
    uint8_t keyIndex;
    uint8_t assignType;
    uint8_t shortcutInitModifiers;
    uint8_t shortcutInitKey;
    int32_t macroMode;
    char macroName[20];
    uint16_t eventCount;
    uint16_t padding;
    int32_t repeatCount;
    KeyEvent events[kMacroEventSlots];
    char programPath[260];
};

inline constexpr uint8_t kAssignStandard = 48;
inline constexpr uint8_t kAssignShortcut = 2;
inline constexpr uint8_t kAssignMacro = 3;
inline constexpr uint8_t kAssignLaunch = 11;

// Empties what a key holds of a macro (its name, count and events), as every
// function but a macro and a shortcut leaves them; macroMode and programPath stay.
inline void clearMacroFields(MacroKeyInfo& key) {
    std::memset(key.macroName, 0, sizeof key.macroName);
    key.eventCount = 0;
    std::memset(key.events, 0, sizeof key.events);
}

static_assert(sizeof(MacroKeyInfo) == 496);
static_assert(offsetof(MacroKeyInfo, keyIndex) == 0);
static_assert(offsetof(MacroKeyInfo, assignType) == 1);
static_assert(offsetof(MacroKeyInfo, shortcutInitModifiers) == 2);
static_assert(offsetof(MacroKeyInfo, shortcutInitKey) == 3);
static_assert(offsetof(MacroKeyInfo, macroMode) == 4);
static_assert(offsetof(MacroKeyInfo, macroName) == 8);
static_assert(offsetof(MacroKeyInfo, eventCount) == 28);
static_assert(offsetof(MacroKeyInfo, padding) == 30);
static_assert(offsetof(MacroKeyInfo, repeatCount) == 32);
static_assert(offsetof(MacroKeyInfo, events) == 36);
static_assert(offsetof(MacroKeyInfo, programPath) == 236);

} // namespace vantrel
