#pragma once

#include "macro/MacroRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class KeyboardLayout;

// The rows that show a macro's events, and the edits the event list makes to
// a macro. A row carries its event number (index + 1) in the high 16 bits and
// its kind, which is also its icon, in the low 16 bits.
class MacroEventList final {
public:
    static constexpr uint16_t kPauseRow = 135;
    static constexpr uint16_t kKeyReleaseRow = 137;
    static constexpr uint16_t kKeyPressRow = 138;
    static constexpr uint16_t kMouseButtonRow = 146;

    struct Row {
        std::string text;
        uint32_t itemData = 0;
        bool operator==(const Row&) const = default;
    };
    struct Rows {
        std::vector<Row> rows;
        // The row to show; -1 when there are no rows.
        int target = -1;
    };

    // The event list's context menu commands.
    enum Command : int {
        RecordBefore = 1001,
        RecordAfter = 1002,
        InsertDelay = 1003,
        Edit = 1004,
        Delete = 1005,
        FirstMouseCommand = 1020,
        LastMouseCommand = 1034,
    };
    // Each mouse button has three commands in a row: press, release, click.
    enum class MouseAction { Press, Release, Click };
    struct MouseCommand {
        uint8_t keyCode;
        MouseAction action;
    };
    static constexpr int kMouseButtons = 5;
    // Key codes of the buttons in menu order: left, right, middle, 4, 5.
    static constexpr uint8_t kMouseButtonCodes[kMouseButtons] = {240, 241, 242, 244, 243};

    static uint32_t itemData(int eventIndex, uint16_t kind) {
        return (static_cast<uint32_t>(eventIndex + 1) << 16) | kind;
    }
    static int eventNumber(uint32_t itemData) { return static_cast<int>(itemData >> 16); }
    static uint16_t rowKind(uint32_t itemData) { return static_cast<uint16_t>(itemData & 0xFFFF); }

    // The rows of the first eventCount events, with the row that keeps the
    // event keepInView in view (two more rows below it where there is room).
    static Rows rebuild(const MacroRecord& macro, int keepInView, const KeyboardLayout& layout);
    // What a row says for the event: the key's name, " Down"/" Up" after a mouse button.
    static std::string eventText(const KeyEvent& event, const KeyboardLayout& layout);
    // "%d ms": the pause and its unit.
    static constexpr const char* kPauseUnit = " ms";
    static std::string pauseText(int delayMs);

    // The edits; each returns the event to keep in view when the macro
    // changed, nothing otherwise. A pause goes in front of the row's event,
    // on the event before it.
    static std::optional<int> insertDelay(MacroRecord& macro, uint32_t rowData);
    // A pause row loses its pause; an event row loses its event, with its pause.
    static std::optional<int> deleteRow(MacroRecord& macro, uint32_t rowData);

    static std::optional<MouseCommand> mouseCommand(int command);

    // The pause a typed text stands for: its leading digits after any blanks,
    // kept within 1..65535. outOfRange tells whether it had to be brought in.
    static uint16_t pauseFromText(std::string_view text, bool& outOfRange);
};

} // namespace vantrel
