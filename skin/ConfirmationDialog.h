#pragma once

#include "skin/SkinnedDialog.h"

#include <array>

namespace vantrel {

class DialogRunner;

// The plainest skinned dialog: its wording is part of its pictures, and it has
// a confirm ("1"), a cancel ("2") and a close ("3") button. Its one result is
// whether the user confirmed.
class ConfirmationDialog final : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr std::string_view kResetCurrentWarning = "skin_reset_current_warn.ini";
    static constexpr std::string_view kResetAllWarning = "skin_reset_all_warn.ini";
    static constexpr std::string_view kMacroSetWarning = "skin_macro_set_warn.ini";
    static constexpr std::string_view kDeleteMacroWarning = "skin_delete_macro_warn.ini";

    enum Key : int { ConfirmKey = 1, CancelKey = 2, CloseKey = 3 };

    ConfirmationDialog(std::string skinsFolder, std::string_view skinFile, QWidget* owner);

    // Runs the dialog described by skinFile over owner; true on confirm.
    static bool ask(DialogRunner& runner, const std::string& skinsFolder, std::string_view skinFile,
                    QWidget* owner);

private:
    static const std::array<SkinControl<ConfirmationDialog>, 3> kControls;

    void confirm();
    void cancel();
};

} // namespace vantrel
