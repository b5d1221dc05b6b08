#include "app/MainWindow.h"

#include "app/AppContext.h"
#include "app/ProfileDialog.h"
#include "keys/KeyAssignmentPage.h"
#include "lighting/EffectTable.h"
#include "lighting/LightingPage.h"
#include "link/ChangeFlags.h"
#include "link/LinkMessage.h"
#include "link/LinkSocketNotifier.h"
#include "settings/ProfileDefaults.h"
#include "settings/ProfileFile.h"
#include "skin/ConfirmationDialog.h"
#include "skin/ProgramPictures.h"
#include "skin/SkinButton.h"
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
    const ControlPlacement p = skin.placement("PAGEPOSITION", key);
    return QRect(p.left, p.top, p.width(), p.height());
}

} // namespace

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
    setWindowIcon(QIcon(QString::fromLatin1(ProgramPictures::kProgramIcon)));

    addButton(1, nullptr); // the macro manager comes with its own window
    addButton(2, &MainWindow::toggleView)->setToggleMode(true);
    addButton(3, &MainWindow::openEffectMenu);
    addButton(6, &MainWindow::editProfileEmpty);
    addButton(7, &MainWindow::loadProfile);
    addButton(8, &MainWindow::saveProfile);
    addButton(9, &MainWindow::editProfileFilled);
    for (int n = 0; n < kProfileCount; ++n) {
        SkinButton* tab = addButton(10 + n, nullptr);
        connect(tab, &SkinButton::clicked, this, [this, n] { selectProfile(n); });
    }
    addButton(16, nullptr);
    connect(m_buttons[16], &SkinButton::clicked, this, &QWidget::showMinimized);
    addButton(17, &MainWindow::closeWithoutApplying);
    addButton(18, &MainWindow::openManual);
    addButton(19, &MainWindow::openWebLink);
    addButton(20, &MainWindow::applyAndClose);
    addButton(21, &MainWindow::apply);
    addButton(22, &MainWindow::closeWithoutApplying);
    addButton(25, &MainWindow::resetAll);
    addButton(26, &MainWindow::resetCurrent);
    m_buttons[1]->setEnabled(false);

    m_keyPage = new KeyAssignmentPage(context, this);
    m_keyPage->setGeometry(pageArea(description(), "1"));
    m_keyPage->show();

    // The lighting pages are built when first shown: until then nobody sees
    // them, and start-up stays quick.
    m_lightingArea = pageArea(description(), "2");
    releaseStatePictures();

    m_protocol.startUp();
    m_notifier = new LinkSocketNotifier(m_protocol, this);
}

MainWindow::~MainWindow() {
    m_protocol.closeLink();
    m_context.macroStore().clearMacroStore();
}

SkinButton* MainWindow::addButton(int key, void (MainWindow::*action)()) {
    SkinButton* button = makeButton(key);
    button->setObjectName(QStringLiteral("button%1").arg(key));
    if (action)
        connect(button, &SkinButton::clicked, this, action);
    m_buttons[static_cast<size_t>(key)] = button;
    return button;
}

ProfileRecord& MainWindow::currentProfile() {
    SharedBlock& edited = m_context.editedSettings();
    return edited.profiles[profileIndexInRange(edited.CurrentProfile)];
}

void MainWindow::selectProfile(int n) {
    m_context.editedSettings().CurrentProfile = n;
    refreshAll();
}

void MainWindow::refreshAll() {
    const int32_t current = m_context.editedSettings().CurrentProfile;
    if (current >= 0 && current < kProfileCount) {
        for (int n = 0; n < kProfileCount; ++n)
            m_buttons[10 + n]->setCheck(n == current);
    }
    const int32_t effect = currentProfile().LtSwitch;
    showEffectName(effect);
    showEffectPage(effect);
    m_keyPage->setKeyboardLook(KeyAssignmentPage::Look::Keys);
    m_keyPage->refreshKeyLabels();
    for (LightingPage* page : m_pages) {
        if (page)
            page->refresh();
    }
}

LightingPage& MainWindow::lightingPage(int index) {
    LightingPage*& page = m_pages[static_cast<size_t>(index)];
    if (!page) {
        page = new LightingPage(m_context, EffectTable::effectOfPage(index), this);
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
    m_keyPage->setKeyboardLook(m_buttons[2]->checked() ? KeyAssignmentPage::Look::Lighting
                                                       : KeyAssignmentPage::Look::Keys);
}

void MainWindow::setEffect(int32_t effect) {
    currentProfile().LtSwitch = effect;
    showEffectPage(effect);
    showEffectName(effect);
}

void MainWindow::showEffectName(int32_t effect) {
    const int label = EffectTable::labelString(effect);
    m_buttons[3]->setCaption(label ? QString::fromStdString(m_context.strings().text(label))
                                   : QString());
    m_buttons[3]->update();
}

void MainWindow::setEnabledApply(bool on) {
    m_buttons[20]->setEnabled(on);
    m_buttons[21]->setEnabled(on);
    m_buttons[20]->repaint();
    m_buttons[21]->repaint();
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
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(QColor(0xE6, 0xE6, 0xE6));
    painter.drawText(kVersionArea, Qt::AlignCenter, versionText());
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // While an apply waits for the monitor, only minimise and the two close
    // buttons answer the mouse.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (m_busy && widget && widget != this && isAncestorOf(widget) && widget != m_buttons[16] &&
            widget != m_buttons[17] && widget != m_buttons[22])
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
    m_viewState = m_buttons[2]->checked();
    m_keyPage->setKeyboardLook(m_viewState ? KeyAssignmentPage::Look::Lighting
                                           : KeyAssignmentPage::Look::Keys);
}

void MainWindow::openEffectMenu() {
    SkinMenu menu;
    menu.setItemWidth(m_buttons[3]->width());
    for (int command : EffectTable::menuCommands()) {
        const int label = EffectTable::labelString(EffectTable::effectForCommand(command));
        menu.appendItem(command, QString::fromStdString(m_context.strings().text(label)));
    }
    const QPoint below = m_buttons[3]->mapToGlobal(QPoint(0, m_buttons[3]->height()));
    const int command = m_context.menus().run(menu, below);
    // The button was pressed while the menu ran: back to its plain look.
    m_buttons[3]->setHover(false);
    m_buttons[3]->update();
    if (command >= 1000 && command <= 1100)
        setEffect(EffectTable::effectForCommand(command));
}

void MainWindow::editProfileEmpty() {
    ProfileDialog::open(m_context, currentProfile(), ProfileDialog::Fill::Empty, this);
}

void MainWindow::editProfileFilled() {
    ProfileDialog::open(m_context, currentProfile(), ProfileDialog::Fill::FromProfile, this);
}

std::optional<QString> MainWindow::chooseProfileFile(QFileDialog::AcceptMode mode) {
    QFileDialog dialog(this);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Gaming Keyboard Profile (*.gkp *.GKP)"));
    dialog.setDefaultSuffix(QStringLiteral("gkp"));
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setDirectory(QString::fromStdString(m_context.configFolder() + "config"));
    dialog.selectFile(QStringLiteral(".gkp"));
    if (m_context.dialogs().run(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void MainWindow::loadProfile() {
    const std::optional<QString> path = chooseProfileFile(QFileDialog::AcceptOpen);
    if (!path || !fileExists(path->toStdString()))
        return;
    readProfile(path->toStdString(), currentProfile());
    SharedBlock& edited = m_context.editedSettings();
    ChangeFlags::markProfileLoaded(edited, profileIndexInRange(edited.CurrentProfile));
    refreshAll();
}

void MainWindow::saveProfile() {
    const std::optional<QString> path = chooseProfileFile(QFileDialog::AcceptSave);
    if (!path)
        return;
    // A fresh file: keys a foreign file carried must not survive in it.
    QFile::remove(*path);
    writeProfile(path->toStdString(), currentProfile());
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

void MainWindow::openManual() {
    const QString path = QString::fromStdString(m_context.programFolder() + "User Manual.pdf");
    // A missing manual is not worth a message.
    if (QFileInfo::exists(path))
        m_context.openUrl(QUrl::fromLocalFile(path));
}

void MainWindow::openWebLink() {
    m_context.openUrl(QUrl(QString::fromLatin1(kWebAddress)));
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
