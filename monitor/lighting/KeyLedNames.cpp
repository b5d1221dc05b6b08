#include "monitor/lighting/KeyLedNames.h"

#include "settings/ProfileDefaults.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>

namespace vantrel {

namespace {

struct NamedUsage {
    uint8_t usage;
    const char* name;
};

// OpenRGB's key LED names by keyboard usage; a usage may have two names (the
// ANSI and ISO forms, an older spelling).
constexpr NamedUsage kNames[] = {
    {4, "Key: A"},
    {5, "Key: B"},
    {6, "Key: C"},
    {7, "Key: D"},
    {8, "Key: E"},
    {9, "Key: F"},
    {10, "Key: G"},
    {11, "Key: H"},
    {12, "Key: I"},
    {13, "Key: J"},
    {14, "Key: K"},
    {15, "Key: L"},
    {16, "Key: M"},
    {17, "Key: N"},
    {18, "Key: O"},
    {19, "Key: P"},
    {20, "Key: Q"},
    {21, "Key: R"},
    {22, "Key: S"},
    {23, "Key: T"},
    {24, "Key: U"},
    {25, "Key: V"},
    {26, "Key: W"},
    {27, "Key: X"},
    {28, "Key: Y"},
    {29, "Key: Z"},
    {30, "Key: 1"},
    {31, "Key: 2"},
    {32, "Key: 3"},
    {33, "Key: 4"},
    {34, "Key: 5"},
    {35, "Key: 6"},
    {36, "Key: 7"},
    {37, "Key: 8"},
    {38, "Key: 9"},
    {39, "Key: 0"},
    {40, "Key: Enter"},
    {40, "Key: Enter (ISO)"},
    {41, "Key: Escape"},
    {42, "Key: Backspace"},
    {43, "Key: Tab"},
    {44, "Key: Space"},
    {45, "Key: -"},
    {46, "Key: ="},
    {47, "Key: ["},
    {48, "Key: ]"},
    {49, "Key: \\ (ANSI)"},
    {49, "Key: \\"},
    {50, "Key: #"},
    {51, "Key: ;"},
    {52, "Key: '"},
    {53, "Key: `"},
    {54, "Key: ,"},
    {55, "Key: ."},
    {56, "Key: /"},
    {57, "Key: Caps Lock"},
    {58, "Key: F1"},
    {59, "Key: F2"},
    {60, "Key: F3"},
    {61, "Key: F4"},
    {62, "Key: F5"},
    {63, "Key: F6"},
    {64, "Key: F7"},
    {65, "Key: F8"},
    {66, "Key: F9"},
    {67, "Key: F10"},
    {68, "Key: F11"},
    {69, "Key: F12"},
    {70, "Key: Print Screen"},
    {71, "Key: Scroll Lock"},
    {72, "Key: Pause/Break"},
    {73, "Key: Insert"},
    {74, "Key: Home"},
    {75, "Key: Page Up"},
    {76, "Key: Delete"},
    {77, "Key: End"},
    {78, "Key: Page Down"},
    {79, "Key: Right Arrow"},
    {80, "Key: Left Arrow"},
    {81, "Key: Down Arrow"},
    {82, "Key: Up Arrow"},
    {83, "Key: Num Lock"},
    {84, "Key: Number Pad /"},
    {85, "Key: Number Pad *"},
    {86, "Key: Number Pad -"},
    {87, "Key: Number Pad +"},
    {88, "Key: Number Pad Enter"},
    {89, "Key: Number Pad 1"},
    {90, "Key: Number Pad 2"},
    {91, "Key: Number Pad 3"},
    {92, "Key: Number Pad 4"},
    {93, "Key: Number Pad 5"},
    {94, "Key: Number Pad 6"},
    {95, "Key: Number Pad 7"},
    {96, "Key: Number Pad 8"},
    {97, "Key: Number Pad 9"},
    {98, "Key: Number Pad 0"},
    {99, "Key: Number Pad ."},
    {100, "Key: \\ (ISO)"},
    {101, "Key: Menu"},
    {224, "Key: Left Control"},
    {225, "Key: Left Shift"},
    {226, "Key: Left Alt"},
    {227, "Key: Left Windows"},
    {228, "Key: Right Control"},
    {229, "Key: Right Shift"},
    {230, "Key: Right Alt"},
    {231, "Key: Right Windows"},
};

} // namespace

int KeyLedNames::position(std::string_view ledName) {
    static const std::map<std::string, int, std::less<>> positions = [] {
        std::array<int, 256> byUsage;
        byUsage.fill(-1);
        for (int k = 0; k < kKeyPositions; ++k) {
            if (kDefaultStandardKeys[k] != 0 && byUsage[kDefaultStandardKeys[k]] < 0)
                byUsage[kDefaultStandardKeys[k]] = k;
        }
        std::map<std::string, int, std::less<>> map;
        for (const NamedUsage& n : kNames) {
            if (byUsage[n.usage] >= 0)
                map.emplace(n.name, byUsage[n.usage]);
        }
        return map;
    }();
    const auto it = positions.find(ledName);
    return it == positions.end() ? -1 : it->second;
}

} // namespace vantrel
