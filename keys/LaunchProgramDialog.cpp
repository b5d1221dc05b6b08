#include "keys/LaunchProgramDialog.h"

#include "settings/TextField.h"
#include "skin/AppContext.h"
#include "skin/BitmapEdit.h"
#include "skin/ColourWord.h"
#include "skin/Palette.h"

#include <QPainter>
#include <QStandardPaths>

namespace vantrel {

namespace {

// One line between the path and the OK button.
constexpr QRect kRefusalArea(24, 108, 416, 24);

} // namespace

const std::array<SkinControl<LaunchProgramDialog>, 5> LaunchProgramDialog::kControls{{
    {PathKey, "pathBox", ControlKind::TextBox},
    {BrowseKey, "browseButton", ControlKind::Button, &LaunchProgramDialog::browse},
    {OkKey, "okButton", ControlKind::Button, &LaunchProgramDialog::confirm},
    {CancelKey, "cancelButton", ControlKind::Button, &LaunchProgramDialog::cancel},
    {CloseKey, "closeButton", ControlKind::Button, &LaunchProgramDialog::cancel},
}};

LaunchProgramDialog::LaunchProgramDialog(AppContext& context, const MacroKeyInfo& entry,
                                         QWidget* owner)
    : SkinnedDialog(context.skinsFolder(), "skin_lanuch_program.ini",
                    SkinWindowKinds::kLaunchProgramDialog, owner),
      m_context(context) {
    setObjectName(QStringLiteral("launchProgramDialog"));
    buildControls<LaunchProgramDialog>(*this, kControls);
    m_pathBox = control<BitmapEdit>(PathKey);
    m_pathBox->setColours(colourFromWord(Palette::kLaunchPathText),
                          colourFromWord(Palette::kLaunchPathGround));
    if (entry.assignType == kAssignLaunch)
        m_pathBox->setText(QString::fromStdString(fieldText(entry.programPath)));
    connect(m_pathBox, &BitmapEdit::textChanged, this, [this] {
        if (!m_refusal.isEmpty()) {
            m_refusal.clear();
            update();
        }
    });
}

bool LaunchProgramDialog::edit(AppContext& context, MacroKeyInfo& entry, QWidget* owner) {
    LaunchProgramDialog dialog(context, entry, owner);
    if (context.dialogs().run(dialog) != QDialog::Accepted)
        return false;
    copyToField(entry.programPath, dialog.path());
    entry.assignType = dialog.path().empty() ? kAssignStandard : kAssignLaunch;
    clearMacroFields(entry);
    return true;
}

void LaunchProgramDialog::paintContents(QPainter& painter) {
    if (!m_refusal.isEmpty())
        paintNotice(painter, kRefusalArea, m_refusal);
}

void LaunchProgramDialog::browse() {
    // Programs here carry no extension and need not be binaries (scripts,
    // AppImages), so every file is offered and no suffix is added.
    const FileRequest request{
        .mode = FileRequest::Mode::Open,
        .filter = QStringLiteral("Programs (*)"),
        .defaultSuffix = QString(),
        .folder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
        .initialName = QString(),
    };
    if (const std::optional<QString> path = m_context.dialogs().chooseFile(request, this))
        m_pathBox->setText(*path);
}

void LaunchProgramDialog::confirm() {
    const std::string path = m_pathBox->text().toStdString();
    // A cut path would start another program, or none: the path is refused.
    if (path.size() > kMaxPathBytes) {
        m_refusal = QStringLiteral("This path has %1 bytes; a key holds at most %2.")
                        .arg(path.size())
                        .arg(kMaxPathBytes);
        update();
        return;
    }
    m_path = path;
    accept();
}

void LaunchProgramDialog::cancel() {
    reject();
}

} // namespace vantrel
