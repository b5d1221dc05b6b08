#include "settings/KeyTable.h"

namespace vantrel {

namespace {

constexpr std::array<KeyTableRow, KeyTable::kRows> makeRows() {
    std::array<KeyTableRow, KeyTable::kRows> t{};
    int r = 0;
    constexpr uint32_t letterScans[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                          49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
    for (uint32_t i = 0; i < 26; ++i)
        t[r++] = {65 + i, 4 + i, letterScans[i]};
    for (uint32_t i = 0; i < 10; ++i) // 1..9 then 0
        t[r++] = {i < 9 ? 49 + i : 48, 30 + i, 2 + i};
    constexpr KeyTableRow rest[] = {
        {13, 40, 28},  {27, 41, 1},   {8, 42, 14},   {9, 43, 15},   {32, 44, 57},  // Enter..Space
        {189, 45, 12}, {187, 46, 13}, {219, 47, 26}, {221, 48, 27}, {220, 49, 43}, // - = [ ] \ .
        {186, 51, 39}, {222, 52, 40}, {192, 53, 41}, {188, 54, 51}, {190, 55, 52},
        {191, 56, 53}, {20, 57, 58}, // ; ' ` , . / CapsLock
    };
    for (const KeyTableRow& row : rest)
        t[r++] = row;
    constexpr uint32_t fScans[12] = {59, 60, 61, 62, 63, 64, 65, 66, 67, 68, 87, 88};
    for (uint32_t i = 0; i < 12; ++i)
        t[r++] = {112 + i, 58 + i, fScans[i]};
    constexpr uint32_t unscanned[][2] = {
        {44, 70},   {145, 71},  {19, 72},                                    // Snapshot..Pause
        {45, 73},   {36, 74},   {33, 75},   {46, 76},  {35, 77},  {34, 78},  // Insert..Page Down
        {39, 79},   {37, 80},   {40, 81},   {38, 82},                        // arrows
        {144, 83},  {111, 84},  {106, 85},  {109, 86}, {107, 87}, {108, 88}, // keypad
        {97, 89},   {98, 90},   {99, 91},   {100, 92}, {101, 93}, {103, 95}, // keypad 1..5, 7
        {102, 94},  {104, 96},  {105, 97},  {96, 98},  {110, 99},            // keypad 6, 8, 9, 0, .
        {226, 100}, {93, 101},                                               // 102nd key, APP
        {162, 224}, {160, 225}, {164, 226}, {91, 227},                       // left modifiers
        {163, 228}, {161, 229}, {165, 230}, {92, 231},                       // right modifiers
    };
    for (const auto& row : unscanned)
        t[r++] = {row[0], row[1], 0};
    for (uint32_t i = 0; i < 18; ++i) // browser and media keys
        t[r++] = {166 + i, 112 + i, 0};
    for (uint32_t i = 0; i < 5; ++i) // mouse buttons
        t[r++] = {240 + i, 240 + i, 0};
    return t;
}

constexpr std::array<KeyTableRow, KeyTable::kRows> kTable = makeRows();
static_assert(kTable[127].keyCode == 244 && kTable[104].keyCode == 231 &&
                  kTable[122].keyCode == 129,
              "the key table must fill all 128 rows in order");

const KeyTableRow* firstRow(uint32_t KeyTableRow::*column, uint32_t value) {
    for (const KeyTableRow& row : kTable) {
        if (row.*column == value)
            return &row;
    }
    return nullptr;
}

bool isMainBlock(uint32_t code) {
    return code >= 4 && code <= 69;
}

} // namespace

const std::array<KeyTableRow, KeyTable::kRows>& KeyTable::rows() {
    return kTable;
}

std::optional<uint32_t> KeyTable::keyCodeFromVirtualKey(uint32_t vk, const KeyboardLayout& layout) {
    const KeyTableRow* row = firstRow(&KeyTableRow::virtualKey, vk);
    if (!row)
        return std::nullopt;
    if (isMainBlock(row->keyCode)) {
        const uint32_t scan = layout.scanCodeFromVirtualKey(vk);
        if (const KeyTableRow* byPosition = scan ? firstRow(&KeyTableRow::scanCode, scan) : nullptr)
            return byPosition->keyCode;
    }
    return row->keyCode;
}

std::optional<uint32_t> KeyTable::virtualKeyFromKeyCode(uint32_t code,
                                                        const KeyboardLayout& layout) {
    const KeyTableRow* row = firstRow(&KeyTableRow::keyCode, code);
    if (!row)
        return std::nullopt;
    if (isMainBlock(code))
        return layout.virtualKeyFromScanCode(row->scanCode);
    return row->virtualKey;
}

} // namespace vantrel
