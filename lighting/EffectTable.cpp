#include "lighting/EffectTable.h"

namespace vantrel {

namespace {

using Kind = EffectPageEntry::Kind;
constexpr int kNone = EffectPageEntry::kNone;

// clang-format off
constexpr std::array<EffectPageEntry, EffectTable::kPageCount> kPages{{
    // effect, command, offered, label, kind, skin, brightness, colour, pulsation, direction,
    // refresh restores direction, refresh restores eighth choice
    { 0, 1001, true,  1105, Kind::Effect, "Skin_Effect1.ini",    0,  0, kNone, kNone, false, true},
    { 1, 1002, true,  1106, Kind::Effect, "Skin_Effect2.ini",    1,  1,     0, kNone, false, false},
    { 2, 1003, true,  1107, Kind::Effect, "Skin_Effect2.ini",    2,  2,     2,     0, true,  false},
    { 3, 1004, true,  1108, Kind::Effect, "Skin_Effect2.ini",    3,  3,     3, kNone, false, false},
    { 4, 1005, true,  1109, Kind::Effect, "Skin_Effect8.ini",    4,  4,     4, kNone, false, false},
    { 5, 1006, true,  1110, Kind::Effect, "Skin_Effect2.ini",    5,  5,     5, kNone, false, false},
    { 6, 1007, true,  1111, Kind::Effect, "Skin_Effect4.ini",    6,  6,     6,     0, true,  false},
    { 7, 1008, true,  1112, Kind::Effect, "Skin_Effect8.ini",    7,  7,     7,     0, false, false},
    { 8, 1009, true,  1113, Kind::Effect, "Skin_Effect2.ini",    8,  8,     8,     0, false, false},
    { 9, 1010, true,  1114, Kind::Effect, "Skin_Effect2.ini",    9,  9,     9,     0, false, false},
    {10, 1011, true,  1115, Kind::Effect, "Skin_Effect5.ini",   10, 10,    10,     1, true,  false},
    {11, 1012, true,  1116, Kind::Effect, "Skin_Effect2.ini",   11, 11,    11, kNone, false, false},
    // Effect 12 shares colour slot 8 with effect 8 and pulsation slot 11 with effect 11.
    {12, 1013, false, 1117, Kind::Effect, "Skin_EffectD.ini",   12,  8,    11,     1, true,  false},
    {51, 1014, true,  1118, Kind::Diy,    "Skin_EffectDIY.ini", 13, kNone, kNone, kNone, false, false},
    {52, 1015, true,  1119, Kind::Diy,    "Skin_EffectDIY.ini", 14, kNone, kNone, kNone, false, false},
    {53, 1016, true,  1120, Kind::Diy,    "Skin_EffectDIY.ini", 15, kNone, kNone, kNone, false, false},
    {54, 1017, true,  1121, Kind::Diy,    "Skin_EffectDIY.ini", 16, kNone, kNone, kNone, false, false},
    {55, 1018, true,  1122, Kind::Diy,    "Skin_EffectDIY.ini", 17, kNone, kNone, kNone, false, false},
}};
// clang-format on

constexpr std::array<int, EffectTable::kMenuEntries> offeredCommands() {
    std::array<int, EffectTable::kMenuEntries> commands{};
    size_t n = 0;
    for (const EffectPageEntry& page : kPages) {
        if (page.offered)
            commands[n++] = page.menuCommand;
    }
    return commands;
}

constexpr std::array<int, EffectTable::kMenuEntries> kMenuCommands = offeredCommands();

} // namespace

const std::array<EffectPageEntry, EffectTable::kPageCount>& EffectTable::pages() {
    return kPages;
}

const std::array<int, EffectTable::kMenuEntries>& EffectTable::menuCommands() {
    return kMenuCommands;
}

std::optional<int> EffectTable::findEffect(int32_t effect) {
    for (size_t i = 0; i < kPages.size(); ++i) {
        if (kPages[i].effect == effect)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

int32_t EffectTable::effectForCommand(int command) {
    for (const EffectPageEntry& page : kPages) {
        if (page.menuCommand == command)
            return page.effect;
    }
    return 1;
}

int EffectTable::labelString(int32_t effect) {
    const std::optional<int> page = findEffect(effect);
    return page ? kPages[static_cast<size_t>(*page)].labelString : 0;
}

int EffectTable::pageIndex(int32_t effect) {
    return findEffect(effect).value_or(0);
}

} // namespace vantrel
