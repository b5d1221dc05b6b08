#pragma once

#include "skin/ControlIds.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vantrel {

class KeyboardLayout;
class LanguageStrings;
struct MacroKeyInfo;

// One line of the key function menu, or a function only the handler knows.
struct KeyFunctionRow {
    enum class Kind {
        Item,      // a menu entry sending command
        Separator, // a line between entries
        Submenu,   // opens the submenu named by text
        Unlisted,  // a command and type that no entry offers
    };
    // The function type a command opens a window for rather than sets.
    static constexpr int kOpensWindow = -1;

    Kind kind;
    // The submenu the line belongs to, by its text string; 0 for the top level.
    int parent;
    int command;
    // The entry's language string, which is also the tooltip of its function.
    int text;
    int assignType;
};

// What each key function is: the menu's entries in menu order, the command
// each sends and the function type it gives, and the tooltips. Menu, command
// handler and tooltips all read this one table.
class KeyFunctionTable final {
public:
    static constexpr int kStandard = ControlIds::kFirstKeyCommand;
    static constexpr int kShortcut = 1002;
    static constexpr int kLaunchProgram = 1003;
    static constexpr int kMacroManager = 1060;
    static constexpr int kSelectMacro = 1061;
    // Commands from this one on stand for the store macro of number command - 1100.
    static constexpr int kFirstStoreMacro = ControlIds::kFirstStoreMacroCommand;
    static constexpr int kLastCommand = ControlIds::kLastKeyCommand;
    // Our own text for the launch-program entry, which the menu lacked.
    static constexpr int kLaunchProgramText = 1130;

    static std::span<const KeyFunctionRow> rows();

    // The function type a command gives: 0 for an unknown command below
    // 1100, 3 from 1100 on.
    static int typeForCommand(int command);

    // What the key's tooltip says; empty for none.
    static std::string tooltip(const MacroKeyInfo& entry, int position,
                               const LanguageStrings& strings, const KeyboardLayout& layout);
    // A key looks standard while it does its standard job: type 48, or a
    // shortcut to its own default code.
    static bool looksStandard(const MacroKeyInfo& entry, int position);
};

} // namespace vantrel
