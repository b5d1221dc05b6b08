#include "app/ProfileDialog.h"

#include "settings/TextField.h"
#include "skin/AppContext.h"
#include "skin/BitmapEdit.h"
#include "skin/ColourWord.h"
#include "skin/Palette.h"
#include "skin/SkinWindowKind.h"

#include <QStandardPaths>

namespace vantrel {

const std::array<SkinControl<ProfileDialog>, 6> ProfileDialog::kControls{{
    {NameKey, "nameBox", ControlKind::TextBox},
    {GameKey, "gameBox", ControlKind::TextBox},
    {BrowseKey, "browseButton", ControlKind::Button, &ProfileDialog::browse},
    {OkKey, "okButton", ControlKind::Button, &ProfileDialog::confirm},
    {CancelKey, "cancelButton", ControlKind::Button, &ProfileDialog::cancel},
    {CloseKey, "closeButton", ControlKind::Button, &ProfileDialog::cancel},
}};

ProfileDialog::ProfileDialog(AppContext& context, ProfileRecord& profile, Fill fill, QWidget* owner)
    : SkinnedDialog(context.skinsFolder(), "skin_profile.ini", SkinWindowKinds::kProfileDialog,
                    owner),
      m_context(context), m_profile(profile) {
    setObjectName(QStringLiteral("profileDialog"));
    buildControls<ProfileDialog>(*this, kControls);
    m_name = control<BitmapEdit>(NameKey);
    m_game = control<BitmapEdit>(GameKey);
    for (BitmapEdit* box : {m_name, m_game})
        box->setColours(colourFromWord(Palette::kProfileBoxText),
                        colourFromWord(Palette::kProfileBoxGround));
    m_name->setMaxLength(kNameLength);

    if (fill == Fill::FromProfile) {
        m_name->setText(QString::fromStdString(fieldText(profile.ProFileName)));
        m_game->setText(QString::fromStdString(fieldText(profile.GameFile)));
    }
}

void ProfileDialog::open(AppContext& context, ProfileRecord& profile, Fill fill, QWidget* owner) {
    ProfileDialog dialog(context, profile, fill, owner);
    context.dialogs().run(dialog);
}

void ProfileDialog::browse() {
    const FileRequest request{
        .mode = FileRequest::Mode::Open,
        .filter = QStringLiteral("exe file (*.exe *.EXE)"),
        .defaultSuffix = QStringLiteral("exe"),
        .folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
        .initialName = QStringLiteral(".exe"),
    };
    if (const std::optional<QString> path = m_context.dialogs().chooseFile(request, this))
        m_game->setText(*path);
}

void ProfileDialog::confirm() {
    copyToField(m_profile.ProFileName, m_name->text().toStdString());
    copyToField(m_profile.GameFile, m_game->text().toStdString());
    accept();
}

void ProfileDialog::cancel() {
    reject();
}

} // namespace vantrel
