#include "macro/MacroEventList.h"

#include "settings/KeyNames.h"
#include "settings/KeyTable.h"
#include "settings/TextField.h"

#include <algorithm>

namespace vantrel {

namespace {

bool isMouseButton(uint8_t keyCode) {
    return keyCode >= 240 && keyCode <= 244;
}

int countOf(const MacroRecord& macro) {
    return std::clamp(macro.eventCount, 0, kMacroEventSlots);
}

} // namespace

MacroEventList::Rows MacroEventList::rebuild(const MacroRecord& macro, int keepInView,
                                             const KeyboardLayout& layout) {
    Rows result;
    const int count = countOf(macro);
    result.rows.reserve(static_cast<size_t>(count) * 2);
    int remembered = -1;
    for (int i = 0; i < count; ++i) {
        const KeyEvent& event = macro.events[i];
        const uint16_t kind = isMouseButton(event.keyCode)  ? kMouseButtonRow
                              : event.action == kKeyRelease ? kKeyReleaseRow
                                                            : kKeyPressRow;
        result.rows.push_back({eventText(event, layout), itemData(i, kind)});
        if (event.delayMs != 0)
            result.rows.push_back({pauseText(event.delayMs), itemData(i, kPauseRow)});
        if (i == keepInView)
            remembered = static_cast<int>(result.rows.size()) - 1;
    }
    const int rows = static_cast<int>(result.rows.size());
    if (rows == 0)
        return result;
    int target = remembered >= 0 && remembered < rows ? remembered : rows - 1;
    if (target > 3 && target < rows - 3)
        target += 2;
    result.target = target;
    return result;
}

std::string MacroEventList::eventText(const KeyEvent& event, const KeyboardLayout& layout) {
    const uint32_t vk = KeyTable::virtualKeyFromKeyCode(event.keyCode, layout).value_or(0);
    std::string name = KeyNames::keyName(vk);
    if (isMouseButton(event.keyCode))
        name += event.action == kKeyRelease ? " Up" : " Down";
    return name;
}

std::string MacroEventList::pauseText(int delayMs) {
    return std::to_string(delayMs) + kPauseUnit;
}

std::optional<int> MacroEventList::insertDelay(MacroRecord& macro, uint32_t rowData) {
    const int n = eventNumber(rowData);
    if (rowKind(rowData) == kPauseRow || n <= 1 || n > countOf(macro))
        return std::nullopt;
    KeyEvent& before = macro.events[n - 2];
    if (before.delayMs != 0)
        return std::nullopt;
    before.delayMs = 1;
    return n - 2;
}

std::optional<int> MacroEventList::deleteRow(MacroRecord& macro, uint32_t rowData) {
    const int n = eventNumber(rowData);
    const int count = countOf(macro);
    if (n < 1 || n > count)
        return std::nullopt;
    if (rowKind(rowData) == kPauseRow) {
        macro.events[n - 1].delayMs = 0;
    } else {
        std::copy(macro.events + n, macro.events + count, macro.events + n - 1);
        macro.eventCount = count - 1;
    }
    return n - 1;
}

std::optional<MacroEventList::MouseCommand> MacroEventList::mouseCommand(int command) {
    if (command < FirstMouseCommand || command > LastMouseCommand)
        return std::nullopt;
    const int offset = command - FirstMouseCommand;
    return MouseCommand{kMouseButtonCodes[offset / 3], static_cast<MouseAction>(offset % 3)};
}

uint16_t MacroEventList::pauseFromText(std::string_view text, bool& outOfRange) {
    const int32_t v = leadingNumber(text);
    outOfRange = v >= kLongestPause || v <= 0;
    return static_cast<uint16_t>(std::clamp<int32_t>(v, 1, kLongestPause));
}

} // namespace vantrel
