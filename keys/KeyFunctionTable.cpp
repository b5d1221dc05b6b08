#include "keys/KeyFunctionTable.h"

#include "settings/KeyNames.h"
#include "settings/KeyTable.h"
#include "settings/LanguageStrings.h"
#include "settings/MacroKeyInfo.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"

#include <array>

namespace vantrel {

namespace {

using Kind = KeyFunctionRow::Kind;
constexpr int kWindow = KeyFunctionRow::kOpensWindow;

// clang-format off
constexpr std::array kRows = std::to_array<KeyFunctionRow>({
    // kind,          parent, command, text, assignType
    {Kind::Item,      0,    1002, 1101, kAssignShortcut},
    {Kind::Submenu,   0,       0, 1071, 0},
    {Kind::Item,      1071, 1060, 1067, kWindow},
    {Kind::Separator, 1071,    0,    0, 0},
    {Kind::Item,      1071, 1061, 1099, kAssignMacro},
    {Kind::Separator, 0,       0,    0, 0},
    {Kind::Submenu,   0,       0, 1087, 0},
    {Kind::Item,      1087, 1022, 1089, 33},
    {Kind::Item,      1087, 1023, 1090, 34},
    {Kind::Item,      1087, 1024, 1091, 35},
    {Kind::Item,      1087, 1025, 1092, 36},
    {Kind::Item,      1087, 1028, 1095, 39},
    {Kind::Item,      1087, 1026, 1093, 37},
    {Kind::Item,      1087, 1027, 1094, 38},
    {Kind::Item,      1087, 1021, 1088, 32},
    {Kind::Submenu,   0,       0, 1042, 0},
    {Kind::Item,      1042, 1051, 1031, 64},
    {Kind::Item,      1042, 1052, 1032, 65},
    {Kind::Item,      1042, 1053, 1033, 66},
    {Kind::Item,      1042, 1054, 1034, 67},
    {Kind::Item,      1042, 1055, 1035, 68},
    {Kind::Item,      1042, 1056, 1036, 69},
    {Kind::Item,      1042, 1057, 1037, 70},
    {Kind::Item,      1042, 1058, 1038, 71},
    {Kind::Item,      1042, 1059, 1039, 72},
    {Kind::Submenu,   0,       0, 1078, 0},
    {Kind::Item,      1078, 1013, 1079, 24},
    {Kind::Item,      1078, 1014, 1080, 25},
    {Kind::Item,      1078, 1015, 1081, 26},
    {Kind::Item,      1078, 1016, 1082, 27},
    {Kind::Item,      1078, 1017, 1083, 28},
    {Kind::Item,      1078, 1018, 1084, 29},
    {Kind::Item,      1078, 1019, 1085, 30},
    {Kind::Item,      1078, 1020, 1086, 31},
    {Kind::Submenu,   0,       0, 1047, 0},
    {Kind::Item,      1047, 1041, 1019, 49},
    {Kind::Item,      1047, 1042, 1020, 50},
    {Kind::Item,      1047, 1029, 1096, 40},
    {Kind::Item,      1047, 1043, 1022, 51},
    {Kind::Item,      1047, 1044, 1023, 52},
    {Kind::Item,      1047, 1045, 1043, 55},
    {Kind::Item,      1047, 1046, 1044, 56},
    {Kind::Item,      1047, 1047, 1045, 53},
    {Kind::Item,      1047, 1048, 1046, 54},
    {Kind::Item,      1047, 1049, 1021, 57},
    {Kind::Item,      1047, 1030, 1097, 41},
    // The stored launch-program function had no way in from the menu.
    {Kind::Item,      1047, 1003, KeyFunctionTable::kLaunchProgramText, kAssignLaunch},
    {Kind::Separator, 0,       0,    0, 0},
    {Kind::Item,      0,    1001, 1100, kAssignStandard},
    {Kind::Item,      0,    1040, 1103, 1},
    // Shown by the program though the menu does not offer them.
    {Kind::Unlisted,  0,    1031, 1024, 241},
    {Kind::Unlisted,  0,    1032, 1025, 242},
    {Kind::Unlisted,  0,    1033, 1026, 243},
    {Kind::Unlisted,  0,    1034, 1027, 244},
    {Kind::Unlisted,  0,    1035, 1028, 245},
    {Kind::Unlisted,  0,    1036, 1029, 8},
    {Kind::Unlisted,  0,    1037, 1030, 5},
});
// clang-format on

// The file name of a path, with its extension, without its folders.
std::string fileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::span<const KeyFunctionRow> KeyFunctionTable::rows() {
    return kRows;
}

int KeyFunctionTable::typeForCommand(int command) {
    for (const KeyFunctionRow& row : kRows) {
        if (row.command == command && row.kind != Kind::Separator && row.kind != Kind::Submenu)
            return row.assignType;
    }
    return command < kFirstStoreMacro ? 0 : kAssignMacro;
}

bool KeyFunctionTable::looksStandard(const MacroKeyInfo& entry, int position) {
    if (entry.assignType == kAssignStandard)
        return true;
    return entry.assignType == kAssignShortcut && position >= 0 && position < kKeyPositions &&
           entry.events[0].keyCode == kDefaultStandardKeys[static_cast<size_t>(position)];
}

std::string KeyFunctionTable::tooltip(const MacroKeyInfo& entry, int position,
                                      const LanguageStrings& strings,
                                      const KeyboardLayout& layout) {
    switch (entry.assignType) {
    case kAssignStandard:
    case 0:
        return {};
    case kAssignShortcut: {
        if (entry.eventCount == 0 || looksStandard(entry, position))
            return {};
        const std::optional<uint32_t> vk =
            KeyTable::virtualKeyFromKeyCode(entry.events[0].keyCode, layout);
        return strings.text(1104) + (vk ? KeyNames::keyName(*vk) : std::string());
    }
    case kAssignMacro:
        return strings.text(1048) + fieldText(entry.macroName);
    case kAssignLaunch:
        return fileNameOf(fieldText(entry.programPath));
    default:
        break;
    }
    for (const KeyFunctionRow& row : kRows) {
        if ((row.kind == Kind::Item || row.kind == Kind::Unlisted) &&
            row.assignType == entry.assignType)
            return strings.text(row.text);
    }
    return {};
}

} // namespace vantrel
