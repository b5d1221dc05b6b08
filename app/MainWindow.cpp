#include "app/MainWindow.h"

#include "app/ProfileDialog.h"
#include "keys/KeyAssignmentPage.h"
#include "lighting/DiyPage.h"
#include "lighting/EffectPage.h"
#include "lighting/EffectTable.h"
#include "lighting/LightingPage.h"
#include "link/ChangeFlags.h"
#include "link/LinkMessage.h"
#include "link/LinkSocketNotifier.h"
#include "macro/MacroManagerDialog.h"
#include "settings/IniFile.h"
#include "settings/ProfileDefaults.h"
#include "settings/ProfileFile.h"
#include "skin/AppContext.h"
#include "skin/ColourWord.h"
#include "skin/ConfirmationDialog.h"
#include "skin/ControlIds.h"
#include "skin/Palette.h"
#include "skin/ProgramPictures.h"
#include "skin/SkinButton.h"
#include "skin/SkinFonts.h"
#include "skin/SkinMenu.h"
#include "skin/SkinWindowKind.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>

namespace vantrel {

namespace {

QRect pageArea(const SkinDescription& skin, std::string_view key) {
    return SkinnedDialog::rectOf(skin.placement("PAGEPOSITION", key));
}

} // namespace

const std::array<SkinControl<MainWindow>, 17> MainWindow::kControls{{
    {MacroManagerKey, "macroManagerButton", ControlKind::Button, &MainWindow::openMacroManager},
    {ViewSwitchKey, "viewSwitch", ControlKind::ToggleButton, &MainWindow::toggleView},
    {EffectKey, "effectButton", ControlKind::Button, &MainWindow::openEffectMenu},
    {NewProfileKey, "newProfileButton", ControlKind::Button, &MainWindow::editProfileEmpty},
    {LoadProfileKey, "loadProfileButton", ControlKind::Button, &MainWindow::loadProfile},
    {SaveProfileKey, "saveProfileButton", ControlKind::Button, &MainWindow::saveProfile},
    {EditProfileKey, "editProfileButton", ControlKind::Button, &MainWindow::editProfileFilled},
    {.key = FirstProfileKey,
     .role = "profileButton",
     .count = kProfileCount,
     .indexedAction = &MainWindow::selectProfile},
    {MinimiseKey, "minimiseButton", ControlKind::Button, &MainWindow::minimise},
    {CloseKey, "closeButton", ControlKind::Button, &MainWindow::closeWithoutApplying},
    {ManualKey, "manualButton", ControlKind::Button, &MainWindow::openManual},
    {WebLinkKey, "webLinkButton", ControlKind::Button, &MainWindow::openWebLink},
    {OkKey, "okButton", ControlKind::Button, &MainWindow::applyAndClose},
    {ApplyKey, "applyButton", ControlKind::Button, &MainWindow::apply},
    {CancelKey, "cancelButton", ControlKind::Button, &MainWindow::closeWithoutApplying},
    {ResetAllKey, "resetAllButton", ControlKind::Button, &MainWindow::resetAll},
    {ResetCurrentKey, "resetCurrentButton", ControlKind::Button, &MainWindow::resetCurrent},
}};

MainWindow::MainWindow(AppContext& context, DeviceLink& link)
    : SkinnedDialog(context.skinsFolder(), "skin_Config.ini", SkinWindowKinds::kMainWindow,
                    nullptr),
      m_context(context),
      m_protocol(link, *this,
                 LinkProtocol::Settings{context.editedSettings(), context.appliedSettings(),
                                        context.macroStore(), context.strings(),
                                        context.configFolder()},
                 context.runtimeDir()) {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(QIcon(QPixmap::fromImage(
        loadProgramPicture(QString::fromLatin1(ProgramPictures::kProgramIcon)))));

    buildControls<MainWindow>(*this, kControls);

    m_keyPage = new KeyAssignmentPage(context, this);
    m_keyPage->setGeometry(pageArea(description(), "1"));
    m_keyPage->show();

    // The lighting pages are built when first shown: until then nobody sees
    // them, and start-up stays quick.
    m_lightingArea = pageArea(description(), "2");

    m_protocol.startUp();
    m_notifier = new LinkSocketNotifier(m_protocol, this);
}

MainWindow::~MainWindow() {
    m_protocol.closeLink();
    m_context.macroStore().clearMacroStore();
}

void MainWindow::selectProfile(int n) {
    m_context.editedSettings().CurrentProfile = n;
    refreshAll();
}

void MainWindow::refreshAll() {
    const int32_t current = m_context.editedSettings().CurrentProfile;
    if (current >= 0 && current < kProfileCount) {
        for (int n = 0; n < kProfileCount; ++n)
            control(FirstProfileKey + n)->setChecked(n == current);
    }
    const int32_t effect = m_context.currentProfile().LtSwitch;
    showEffectName(effect);
    showEffectPage(effect);
    m_keyPage->setKeyboardLook(KeyAssignmentPage::Look::Keys);
    for (SkinPage* page : pages())
        page->refresh();
}

std::vector<SkinPage*> MainWindow::pages() const {
    std::vector<SkinPage*> all{m_keyPage};
    for (LightingPage* page : m_pages) {
        if (page)
            all.push_back(page);
    }
    return all;
}

LightingPage& MainWindow::lightingPage(int index) {
    LightingPage*& page = m_pages[static_cast<size_t>(index)];
    if (!page) {
        const EffectPageEntry& entry = EffectTable::pages()[static_cast<size_t>(index)];
        if (entry.kind == EffectPageEntry::Kind::Diy)
            page = new DiyPage(m_context, entry.effect, *m_keyPage, this);
        else
            page = new EffectPage(m_context, entry.effect, this);
        page->setGeometry(m_lightingArea);
        page->hide();
        page->refresh();
    }
    return *page;
}

void MainWindow::showEffectPage(int32_t effect) {
    LightingPage* page = &lightingPage(EffectTable::pageIndex(effect));
    if (page != m_visiblePage) {
        if (m_visiblePage)
            m_visiblePage->hide();
        page->show();
        m_visiblePage = page;
    }
    page->refresh();
    m_keyPage->setKeyboardLook(control(ViewSwitchKey)->isChecked()
                                   ? KeyAssignmentPage::Look::Lighting
                                   : KeyAssignmentPage::Look::Keys);
}

void MainWindow::setEffect(int32_t effect) {
    m_context.currentProfile().LtSwitch = effect;
    showEffectPage(effect);
    showEffectName(effect);
}

void MainWindow::showEffectName(int32_t effect) {
    const int label = EffectTable::labelString(effect);
    SkinButton* button = control(EffectKey);
    button->setCaption(label ? QString::fromStdString(m_context.strings().text(label)) : QString());
    button->update();
}

void MainWindow::setEnabledApply(bool on) {
    for (int key : {OkKey, ApplyKey}) {
        control(key)->setEnabled(on);
        control(key)->repaint();
    }
}

void MainWindow::setBusy(bool on) {
    if (on == m_busy)
        return;
    m_busy = on;
    if (on) {
        setCursor(Qt::WaitCursor);
        qApp->installEventFilter(this);
    } else {
        unsetCursor();
        qApp->removeEventFilter(this);
    }
}

void MainWindow::showMessage(const std::string& text) {
    // Captioned with the name of the program file.
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, this);
    m_context.dialogs().run(box);
}

void MainWindow::firmwareVersionChanged() {
    update(kVersionArea);
}

QString MainWindow::versionText() const {
    return QStringLiteral("Driver V%1-Firmware V%2")
        .arg(QString::fromLatin1(LinkProtocol::kDriverVersionText),
             QString::fromStdString(m_protocol.firmwareVersionText()));
}

void MainWindow::paintContents(QPainter& painter) {
    painter.setFont(SkinFonts::version());
    painter.setPen(colourFromWord(Palette::kText));
    painter.drawText(kVersionArea, Qt::AlignCenter, versionText());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // While an apply waits for the monitor, only minimise and the two close
    // buttons answer the mouse, and nothing else lights up under it.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (m_busy && widget && widget != this && isAncestorOf(widget) &&
            widget != control(MinimiseKey) && widget != control(CloseKey) &&
            widget != control(CancelKey))
            return true;
        break;
    }
    default:
        break;
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The desktop's close request ends the program like the close buttons.
    event->accept();
    done(QDialog::Rejected);
}

void MainWindow::toggleView() {
    const bool lighting = control(ViewSwitchKey)->isChecked();
    m_context.setViewState(lighting ? 1 : 0);
    m_keyPage->setKeyboardLook(lighting ? KeyAssignmentPage::Look::Lighting
                                        : KeyAssignmentPage::Look::Keys);
}

void MainWindow::openEffectMenu() {
    SkinButton* button = control(EffectKey);
    SkinMenu menu;
    menu.setItemWidth(button->width());
    for (int command : EffectTable::menuCommands()) {
        const int label = EffectTable::labelString(EffectTable::effectForCommand(command));
        menu.appendItem(command, QString::fromStdString(m_context.strings().text(label)));
    }
    const QPoint below = button->mapToGlobal(QPoint(0, button->height()));
    const int command = m_context.menus().run(menu, below);
    // The button was pressed while the menu ran: back to its plain look.
    button->setHover(false);
    button->update();
    if (command >= ControlIds::kFirstEffectCommand && command <= ControlIds::kLastEffectCommand)
        setEffect(EffectTable::effectForCommand(command));
}

void MainWindow::editProfileEmpty() {
    ProfileDialog::open(m_context, m_context.currentProfile(), ProfileDialog::Fill::Empty, this);
}

void MainWindow::editProfileFilled() {
    ProfileDialog::open(m_context, m_context.currentProfile(), ProfileDialog::Fill::FromProfile,
                        this);
}

std::optional<QString> MainWindow::chooseProfileFile(FileRequest::Mode mode) {
    const FileRequest request{
        .mode = mode,
        .filter = QStringLiteral("Gaming Keyboard Profile (*.gkp *.GKP)"),
        .defaultSuffix = QStringLiteral("gkp"),
        .folder = QString::fromStdString(m_context.configFolder() + "config"),
        .initialName = QStringLiteral(".gkp"),
    };
    return m_context.dialogs().chooseFile(request, this);
}

void MainWindow::loadProfile() {
    const std::optional<QString> path = chooseProfileFile(FileRequest::Mode::Open);
    if (!path || !fileExists(path->toStdString()))
        return;
    readProfile(path->toStdString(), m_context.currentProfile());
    SharedBlock& edited = m_context.editedSettings();
    ChangeFlags::markProfileLoaded(edited, profileIndexInRange(edited.CurrentProfile));
    refreshAll();
}

void MainWindow::saveProfile() {
    const std::optional<QString> path = chooseProfileFile(FileRequest::Mode::Save);
    if (!path)
        return;
    // A fresh file: keys a foreign file carried must not survive in it. The
    // file is the user's own, shared with nobody: no lock file beside it.
    QFile::remove(*path);
    IniFile file(path->toStdString());
    writeProfile(file, m_context.currentProfile());
    file.save();
}

void MainWindow::resetAll() {
    if (!ConfirmationDialog::ask(m_context.dialogs(), m_context.skinsFolder(),
                                 ConfirmationDialog::kResetAllWarning, this))
        return;
    SharedBlock& edited = m_context.editedSettings();
    resetAllProfiles(edited, m_context.strings());
    ChangeFlags::markAllChanged(edited);
    refreshAll();
    m_protocol.apply(kApplyAfterReset);
}

void MainWindow::resetCurrent() {
    if (!ConfirmationDialog::ask(m_context.dialogs(), m_context.skinsFolder(),
                                 ConfirmationDialog::kResetCurrentWarning, this))
        return;
    SharedBlock& edited = m_context.editedSettings();
    const int p = profileIndexInRange(edited.CurrentProfile);
    resetProfile(edited.profiles[p], p, m_context.strings());
    ChangeFlags::markProfileChanged(edited, p);
    refreshAll();
    m_protocol.apply(kApplyAfterReset);
}

void MainWindow::openMacroManager() {
    if (MacroManagerDialog::manage(m_context, this))
        m_keyPage->refreshKeyLabels();
}

void MainWindow::openManual() {
    const QString path = QString::fromStdString(m_context.programFolder() + "User Manual.pdf");
    // A missing manual is not worth a message.
    if (QFileInfo::exists(path))
        m_context.openUrl(QUrl::fromLocalFile(path));
}

void MainWindow::openWebLink() {
    m_context.openUrl(QUrl(QString::fromLatin1(kWebAddress)));
}

void MainWindow::minimise() {
    showMinimized();
}

void MainWindow::apply() {
    m_protocol.apply(kApplyCode);
}

void MainWindow::applyAndClose() {
    apply();
    QMetaObject::invokeMethod(this, &MainWindow::closeWithoutApplying, Qt::QueuedConnection);
}

void MainWindow::closeWithoutApplying() {
    setBusy(false);
    done(QDialog::Rejected);
}

} // namespace vantrel
