#include "app/ProfileDialog.h"

#include "skin/AppContext.h"
#include "settings/TextField.h"
#include "skin/SkinButton.h"
#include "skin/SkinWindowKind.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QStandardPaths>

namespace vantrel {

ProfileDialog::ProfileDialog(AppContext& context, ProfileRecord& profile, Fill fill, QWidget* owner)
    : SkinnedDialog(context.skinsFolder(), "skin_profile.ini", SkinWindowKinds::kProfileDialog,
                    owner),
      m_context(context), m_profile(profile), m_name(makeTextBox(1)), m_game(makeTextBox(2)) {
    setObjectName(QStringLiteral("profileDialog"));
    m_name->setObjectName(QStringLiteral("nameBox"));
    m_game->setObjectName(QStringLiteral("gameBox"));
    m_name->setMaxLength(kNameLength);

    const auto button = [this](int key, const char* name) {
        SkinButton* b = makeButton(key);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    connect(button(3, "browseButton"), &SkinButton::clicked, this, &ProfileDialog::browse);
    connect(button(4, "okButton"), &SkinButton::clicked, this, &ProfileDialog::confirm);
    connect(button(5, "cancelButton"), &SkinButton::clicked, this, &QDialog::reject);
    connect(button(6, "closeButton"), &SkinButton::clicked, this, &QDialog::reject);
    releaseStatePictures();

    if (fill == Fill::FromProfile) {
        m_name->setText(QString::fromStdString(fieldText(profile.ProFileName)));
        m_game->setText(QString::fromStdString(fieldText(profile.GameFile)));
    }
}

QLineEdit* ProfileDialog::makeTextBox(int key) {
    const ControlPlacement p = description().buttonPlacement(key);
    auto* box = new QLineEdit(this);
    box->setGeometry(p.left, p.top, p.width(), p.height());
    box->setFrame(false);
    box->setStyleSheet(QStringLiteral("QLineEdit { background: #000000; color: #E6E6E6; "
                                      "selection-background-color: #4B1817; padding: 0 4px; }"));
    return box;
}

void ProfileDialog::open(AppContext& context, ProfileRecord& profile, Fill fill, QWidget* owner) {
    ProfileDialog dialog(context, profile, fill, owner);
    context.dialogs().run(dialog);
}

void ProfileDialog::browse() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QStringLiteral("exe file (*.exe *.EXE)"));
    dialog.setDefaultSuffix(QStringLiteral("exe"));
    dialog.setDirectory(desktop);
    dialog.selectFile(QStringLiteral(".exe"));
    if (m_context.dialogs().run(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_game->setText(dialog.selectedFiles().constFirst());
}

void ProfileDialog::confirm() {
    copyToField(m_profile.ProFileName, m_name->text().toStdString());
    copyToField(m_profile.GameFile, m_game->text().toStdString());
    accept();
}

} // namespace vantrel
