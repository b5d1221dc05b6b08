#include "skin/ConfirmationDialog.h"

#include "skin/DialogRunner.h"

namespace vantrel {

const std::array<SkinControl<ConfirmationDialog>, 3> ConfirmationDialog::kControls{{
    {ConfirmKey, "confirmButton", ControlKind::Button, &ConfirmationDialog::confirm},
    {CancelKey, "cancelButton", ControlKind::Button, &ConfirmationDialog::cancel},
    {CloseKey, "closeButton", ControlKind::Button, &ConfirmationDialog::cancel},
}};

ConfirmationDialog::ConfirmationDialog(std::string skinsFolder, std::string_view skinFile,
                                       QWidget* owner)
    : SkinnedDialog(std::move(skinsFolder), skinFile, SkinWindowKinds::kConfirmationDialog, owner) {
    buildControls<ConfirmationDialog>(*this, kControls);
}

bool ConfirmationDialog::ask(DialogRunner& runner, const std::string& skinsFolder,
                             std::string_view skinFile, QWidget* owner) {
    ConfirmationDialog dialog(skinsFolder, skinFile, owner);
    return runner.run(dialog) == QDialog::Accepted;
}

void ConfirmationDialog::confirm() {
    accept();
}

void ConfirmationDialog::cancel() {
    reject();
}

} // namespace vantrel
