#include "skin/ConfirmationDialog.h"

#include "skin/DialogRunner.h"
#include "skin/SkinButton.h"

namespace vantrel {

ConfirmationDialog::ConfirmationDialog(std::string skinsFolder, std::string_view skinFile,
                                       QWidget* owner)
    : SkinnedDialog(std::move(skinsFolder), skinFile, SkinWindowKinds::kConfirmationDialog, owner),
      m_confirm(makeButton(1)), m_cancel(makeButton(2)), m_close(makeButton(3)) {
    releaseStatePictures();
    m_confirm->setObjectName(QStringLiteral("confirmButton"));
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_close->setObjectName(QStringLiteral("closeButton"));
    connect(m_confirm, &SkinButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &SkinButton::clicked, this, &QDialog::reject);
    connect(m_close, &SkinButton::clicked, this, &QDialog::reject);
}

bool ConfirmationDialog::ask(DialogRunner& runner, const std::string& skinsFolder,
                             std::string_view skinFile, QWidget* owner) {
    ConfirmationDialog dialog(skinsFolder, skinFile, owner);
    return runner.run(dialog) == QDialog::Accepted;
}

} // namespace vantrel
