#pragma once

#include "skin/SkinnedDialog.h"

#include <array>

namespace vantrel {

class AppContext;
struct MacroKeyInfo;

// Gives a key one macro of the store and the way it plays (its macroMode).
// The macro is picked from a menu of the store's names.
class MacroSelectionDialog final : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr int kModes = 3;
    // The macro menu's items are at least this wide.
    static constexpr int kMenuItemWidth = 188;

    // Its controls by "BUTTONPOS" key of "skin_select_macro.ini"; the mode
    // buttons stand on three keys from FirstModeKey on.
    enum Key : int { OkKey = 1, CancelKey = 2, CloseKey = 3, MacroKey = 4, FirstModeKey = 5 };

    // Starts from the entry's macro, found in the store by name, and its mode.
    MacroSelectionDialog(AppContext& context, const MacroKeyInfo& entry, QWidget* owner);

    // Runs the dialog over owner. On OK the entry takes the mode and the
    // chosen macro as the store holds it now, or its standard function when
    // no macro is chosen, and the result is true; on Cancel or Exit the entry
    // is left as it was.
    static bool edit(AppContext& context, MacroKeyInfo& entry, QWidget* owner);

    // The store index of the chosen macro, -1 for none.
    int chosenIndex() const { return m_chosen; }
    int mode() const { return m_mode; }

private:
    static const std::array<SkinControl<MacroSelectionDialog>, 5> kControls;

    void openMenu();
    void chooseMode(int mode);
    void showModes();
    void confirm();
    void cancel();

    AppContext& m_context;
    int m_chosen = -1;
    int m_mode = 0;
};

} // namespace vantrel
