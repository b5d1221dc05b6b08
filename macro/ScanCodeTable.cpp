#include "macro/ScanCodeTable.h"

#include "settings/KeyboardLayout.h"

#include <array>

namespace vantrel {

namespace {

struct Entry {
    uint8_t scanCode = 0;
    bool extended = false;
    uint8_t virtualKey = 0; // 0: ask the layout for the key at scanCode
    bool known = false;
};

constexpr uint32_t kXKeyCodeOffset = 8;

constexpr std::array<Entry, 256> makeTable() {
    std::array<Entry, 256> t{};
    // Input codes 1..83 and 86..88 are their own set-1 scan codes.
    for (uint8_t code = 1; code <= 88; ++code) {
        if (code != 84 && code != 85)
            t[code] = {code, false, 0, true};
    }
    // Keys of fixed meaning inside that range; Num Lock is the one extended key.
    constexpr struct {
        uint8_t input;
        uint8_t virtualKey;
    } fixedInRange[] = {
        {29, 162}, {42, 160}, {54, 161}, {55, 106}, {56, 164}, {70, 145}, // modifiers, KP *, Scroll
        {71, 103}, {72, 104}, {73, 105}, {74, 109}, {75, 100}, {76, 101}, // keypad 7 8 9 - 4 5
        {77, 102}, {78, 107}, {79, 97},  {80, 98},  {81, 99},  {82, 96},  // keypad 6 + 1 2 3 0
        {83, 110}, {86, 226},                                             // keypad ., 102nd key
    };
    for (const auto& key : fixedInRange)
        t[key.input].virtualKey = key.virtualKey;
    t[69] = {0x45, true, 144, true};

    constexpr struct {
        uint8_t input;
        uint8_t scanCode;
        bool extended;
        uint8_t virtualKey;
    } others[] = {
        {96, 0x1C, true, 13},   {97, 0x1D, true, 163},
        {98, 0x35, true, 111}, // KP Enter, RCtrl, KP /
        {99, 0x37, true, 44},   {100, 0x38, true, 165},
        {119, 0x45, false, 19}, // Print, RAlt, Pause
        {102, 0x47, true, 36},  {103, 0x48, true, 38},
        {104, 0x49, true, 33}, // Home, Up, Page Up
        {105, 0x4B, true, 37},  {106, 0x4D, true, 39},
        {107, 0x4F, true, 35}, // Left, Right, End
        {108, 0x50, true, 40},  {109, 0x51, true, 34},
        {110, 0x52, true, 45}, // Down, Page Down, Ins
        {111, 0x53, true, 46},  {125, 0x5B, true, 91},
        {126, 0x5C, true, 92}, // Del, Windows keys
        {127, 0x5D, true, 93}, // Menu
        {158, 0x6A, true, 166}, {159, 0x69, true, 167},
        {173, 0x67, true, 168}, // browser back, fwd, refresh
        {128, 0x68, true, 169}, {217, 0x65, true, 170},
        {156, 0x66, true, 171}, // stop, search, favourites
        {172, 0x32, true, 172}, {113, 0x20, true, 173},
        {114, 0x2E, true, 174}, // home page, mute, volume -
        {115, 0x30, true, 175}, {163, 0x19, true, 176},
        {165, 0x10, true, 177}, // volume +, next, previous
        {166, 0x24, true, 178}, {164, 0x22, true, 179},
        {155, 0x6C, true, 180}, // stop, play/pause, mail
        {226, 0x6D, true, 181}, {157, 0x6B, true, 182},
        {140, 0x21, true, 183}, // media, computer, calc
    };
    for (const auto& key : others)
        t[key.input] = {key.scanCode, key.extended, key.virtualKey, true};
    return t;
}

constexpr std::array<Entry, 256> kTable = makeTable();

} // namespace

CapturedKey ScanCodeTable::keyFromXKeyCode(uint32_t xKeyCode, const KeyboardLayout& layout) {
    if (xKeyCode < kXKeyCodeOffset || xKeyCode - kXKeyCodeOffset >= kTable.size())
        return {0, 0, false};
    const Entry& entry = kTable[xKeyCode - kXKeyCodeOffset];
    if (!entry.known)
        return {0, 0, false};
    const uint32_t virtualKey =
        entry.virtualKey ? entry.virtualKey : layout.virtualKeyFromScanCode(entry.scanCode);
    return {virtualKey, entry.scanCode, entry.extended};
}

} // namespace vantrel
