#include "macro/MacroManagerDialog.h"

#include "macro/KeyCapture.h"
#include "macro/MacroFile.h"
#include "macro/MacroListBox.h"
#include "macro/MacroName.h"
#include "macro/MacroStore.h"
#include "settings/TextField.h"
#include "skin/AppContext.h"
#include "skin/BitmapEdit.h"
#include "skin/ColourWord.h"
#include "skin/ConfirmationDialog.h"
#include "skin/ControlIds.h"
#include "skin/Palette.h"
#include "skin/SkinButton.h"
#include "skin/SkinFonts.h"
#include "skin/SkinMenu.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

#include <algorithm>
#include <cstring>

namespace vantrel {

namespace {

// String numbers of the context menu's texts.
constexpr int kRecordBeforeText = 1053;
constexpr int kRecordAfterText = 1054;
constexpr int kInsertDelayText = 1055;
constexpr int kEditText = 1056;
constexpr int kDeleteText = 1057;
constexpr int kMouseButtonText = 1058;
constexpr int kFirstButtonText = 1059;
constexpr int kFirstActionText = 1064;

SkinPictures recordPictures(const std::string& skinsFolder, const char* prefix) {
    const auto load = [&](const char* look) {
        return loadPicture(skinsFolder + prefix + "_record_" + look + ".jpg");
    };
    SkinPictures pictures{load("normal"), load("over"), load("down"), {}};
    pictures.disabled = pictures.normal;
    return pictures;
}

// Macro files are opened and saved from the config folder's config/.
FileRequest macroFileRequest(const AppContext& context, FileRequest::Mode mode,
                             const QString& filter) {
    return FileRequest{.mode = mode,
                       .filter = filter,
                       .defaultSuffix = QStringLiteral("macro"),
                       .folder = QString::fromStdString(context.configFolder() + "config"),
                       .initialName = QStringLiteral(".macro")};
}

// One line left of OK and Cancel.
constexpr QRect kNoticeArea(20, 404, 410, 32);

QString rowName(const MacroRecord& macro) {
    return QString::fromStdString(fieldText(macro.name));
}

} // namespace

const std::array<SkinControl<MacroManagerDialog>, 11> MacroManagerDialog::kControls{{
    {OkKey, "okButton", ControlKind::Button, &MacroManagerDialog::confirm},
    {CancelKey, "cancelButton", ControlKind::Button, &MacroManagerDialog::cancel},
    {ExitKey, "exitButton", ControlKind::Button, &MacroManagerDialog::cancel},
    {NewKey, "newButton", ControlKind::Button, &MacroManagerDialog::newMacro},
    {DeleteKey, "deleteButton", ControlKind::Button, &MacroManagerDialog::deleteMacro},
    {RecordKey, "recordButton", ControlKind::Button, &MacroManagerDialog::recordOrStop},
    {RecordDelaysKey, "recordDelaysButton", ControlKind::ToggleButton,
     &MacroManagerDialog::recordDelaysToggled},
    {RepeatKey, "repeatButton", ControlKind::ToggleButton, &MacroManagerDialog::repeatToggled},
    {RepeatCountKey, "repeatCountBox", ControlKind::TextBox},
    {ImportKey, "importButton", ControlKind::Button, &MacroManagerDialog::importMacro},
    {ExportKey, "exportButton", ControlKind::Button, &MacroManagerDialog::exportMacro},
}};

MacroManagerDialog::MacroManagerDialog(AppContext& context, const Clock& clock, QWidget* owner)
    : SkinnedDialog(context.skinsFolder(), "skin_macro_manager.ini",
                    SkinWindowKinds::kMacroManagerDialog, owner),
      m_context(context), m_recorder(m_working, context.keyboardLayout(), clock, *this) {
    setObjectName(QStringLiteral("macroManagerDialog"));
    buildControls<MacroManagerDialog>(*this, kControls, [this] {
        const auto list = [this](int key, int id, const char* role) {
            auto* box = new MacroListBox(id, this);
            box->setObjectName(QString::fromLatin1(role));
            box->setGeometry(placementRect(key));
            box->setColours(colourFromWord(Palette::kMacroListGround),
                            colourFromWord(Palette::kMacroListSelection));
            box->setTextColours(colourFromWord(Palette::kMacroListText),
                                colourFromWord(Palette::kMacroListText));
            connect(box, &MacroListBox::rowCommitted, this, &MacroManagerDialog::rowCommitted,
                    Qt::QueuedConnection);
            connect(box, &MacroListBox::rightClicked, this, &MacroManagerDialog::listRightClicked,
                    Qt::QueuedConnection);
            return box;
        };
        m_macroList = list(MacroListKey, ControlIds::kMacroList, "macroList");
        m_eventList = list(EventListKey, ControlIds::kEventList, "eventList");
    });
    connect(m_macroList, &QListWidget::currentRowChanged, this, &MacroManagerDialog::macroSelected);

    m_startPictures = recordPictures(context.skinsFolder(), "start");
    m_stopPictures = recordPictures(context.skinsFolder(), "stop");
    control(RecordKey)->setPictures(m_startPictures);

    m_countBox = control<BitmapEdit>(RepeatCountKey);
    m_countBox->setDigitsOnly(true);
    m_countBox->setMaxLength(kCountLength);
    m_countBox->setColours(colourFromWord(Palette::kRepeatCountText),
                           colourFromWord(Palette::kRepeatCountGround));
    connect(m_countBox, &BitmapEdit::killFocus, this, &MacroManagerDialog::countEdited,
            Qt::QueuedConnection);

    m_captureNotice = KeyCapture::notice(QGuiApplication::platformName());

    MacroStore& store = context.macroStore();
    for (int i = 0; i < store.count(); ++i)
        m_macroList->addRow(rowName(*store.macroAt(i)), 0);
    const MacroKeyInfo& key = context.keyEntryScratch();
    const int keyMacro = key.assignType == kAssignMacro ? store.findMacroForKey(key).index : -1;
    m_current = store.count() == 0 ? -1 : std::max(keyMacro, 0);
    m_macroList->selectRow(m_current);
    loadCurrentMacro();
}

MacroManagerDialog::~MacroManagerDialog() {
    stopKeyCapture();
}

bool MacroManagerDialog::manage(AppContext& context, QWidget* owner, const Clock& clock) {
    MacroStore& store = context.macroStore();
    int result = QDialog::Rejected;
    {
        MacroManagerDialog dialog(context, clock, owner);
        result = context.dialogs().run(dialog);
    }
    if (result == QDialog::Accepted) {
        store.saveMacroStore();
        store.refreshMacroKeys(context.editedSettings());
        return true;
    }
    store.clearMacroStore();
    store.loadMacroStore();
    return false;
}

void MacroManagerDialog::paintContents(QPainter& painter) {
    if (!m_captureNotice.isEmpty())
        paintNotice(painter, kNoticeArea, m_captureNotice);
}

void MacroManagerDialog::confirm() {
    accept();
}

void MacroManagerDialog::cancel() {
    reject();
}

void MacroManagerDialog::newMacro() {
    m_macroList->openNewRowEditor();
    m_macroList->scrollToBottom();
}

void MacroManagerDialog::deleteMacro() {
    // A row being named would no longer stand where its macro will go.
    m_macroList->cancelEdit();
    const int row = m_macroList->selectedRow();
    if (row < 0)
        return;
    if (!ConfirmationDialog::ask(m_context.dialogs(), m_context.skinsFolder(),
                                 ConfirmationDialog::kDeleteMacroWarning, this))
        return;
    m_macroList->removeRow(row);
    m_context.macroStore().removeMacro(row);
    clampCurrent();
    m_macroList->selectRow(m_current);
    loadCurrentMacro();
}

void MacroManagerDialog::recordOrStop() {
    if (!m_context.macroStore().macroAt(m_current)) {
        warnNoMacro();
        return;
    }
    if (m_recorder.recording()) {
        m_recorder.stopRecording();
        return;
    }
    m_eventList->setRows({});
    m_working.eventCount = 0;
    std::memset(m_working.events, 0, sizeof m_working.events);
    startRecording(-1);
}

void MacroManagerDialog::recordDelaysToggled() {
    m_recorder.setRecordDelays(control(RecordDelaysKey)->isChecked());
}

void MacroManagerDialog::repeatToggled() {
    m_repeatEnabled = control(RepeatKey)->isChecked();
    storeRepeatCount();
}

void MacroManagerDialog::importMacro() {
    m_macroList->cancelEdit();
    const std::optional<QString> path =
        m_context.dialogs().chooseFile(macroFileRequest(m_context, FileRequest::Mode::Open,
                                                        QStringLiteral("Macro(*.macro *.MACRO)")),
                                       this);
    if (!path || !QFileInfo::exists(*path))
        return;
    MacroStore& store = m_context.macroStore();
    const int index = MacroFile::importMacroFile(path->toStdString(), store);
    if (index < 0) {
        QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                        QStringLiteral("This file holds no macro that can be read."),
                        QMessageBox::Ok, this);
        m_context.dialogs().run(box);
        return;
    }
    m_macroList->addRow(rowName(*store.macroAt(index)), 0);
    m_macroList->scrollToBottom();
    m_current = index;
    m_macroList->selectRow(m_current);
    loadCurrentMacro();
}

void MacroManagerDialog::exportMacro() {
    // Without a macro there is nothing to write, and no file is touched.
    const MacroRecord* macro = m_context.macroStore().macroAt(m_current);
    if (!macro)
        return;
    const std::optional<QString> path = m_context.dialogs().chooseFile(
        macroFileRequest(m_context, FileRequest::Mode::Save, QStringLiteral("Macro(*.macro)")),
        this);
    if (path)
        MacroFile::exportMacroFile(path->toStdString(), *macro);
}

void MacroManagerDialog::macroSelected(int row) {
    m_current = row;
    loadCurrentMacro();
}

void MacroManagerDialog::rowCommitted(int row, int listId) {
    if (listId == ControlIds::kMacroList)
        nameCommitted(row);
    else if (listId == ControlIds::kEventList)
        pauseCommitted(row);
}

void MacroManagerDialog::nameCommitted(int row) {
    QListWidgetItem* item = m_macroList->item(row);
    if (!item)
        return;
    const std::string name(trimmed(item->text().toStdString()));
    // The other rows are the store's macros; this one is not in it yet.
    if (m_context.macroStore().macroNameExists(name)) {
        m_macroList->removeRow(row);
        clampCurrent();
        loadCurrentMacro();
        m_macroList->selectRow(m_current);
        return;
    }
    MacroRecord macro{};
    copyToField(macro.name, name);
    m_context.macroStore().appendMacro(macro);
    m_current = m_macroList->selectedRow();
    loadCurrentMacro();
}

void MacroManagerDialog::pauseCommitted(int row) {
    QListWidgetItem* item = m_eventList->item(row);
    if (!item || m_pauseEvent < 0 || m_pauseEvent >= m_working.eventCount)
        return;
    bool outOfRange = false;
    const uint16_t pause = MacroEventList::pauseFromText(item->text().toStdString(), outOfRange);
    if (outOfRange) {
        m_eventList->removeRow(row);
        m_eventList->insertRow(row,
                               MacroEventList::itemData(m_pauseEvent, MacroEventList::kPauseRow),
                               QString::fromStdString(MacroEventList::pauseText(pause)));
    }
    m_working.events[m_pauseEvent].delayMs = pause;
    writeBack();
}

void MacroManagerDialog::listRightClicked(int listId) {
    if (m_recorder.recording() || listId != ControlIds::kEventList)
        return;
    const auto text = [this](int id) {
        return QString::fromStdString(m_context.strings().text(id));
    };
    SkinMenu menu(SkinFonts::macroMenu());
    SkinMenu mouse(SkinFonts::macroMenu());
    std::array<std::optional<SkinMenu>, MacroEventList::kMouseButtons> buttons;
    menu.setItemWidth(kMenuWidth);
    mouse.setItemWidth(kMouseMenuWidth);
    for (int b = 0; b < MacroEventList::kMouseButtons; ++b) {
        buttons[b].emplace(SkinFonts::macroMenu());
        buttons[b]->setItemWidth(kButtonMenuWidth);
        for (int a = 0; a < 3; ++a)
            buttons[b]->appendItem(MacroEventList::FirstMouseCommand + 3 * b + a,
                                   text(kFirstActionText + a));
        mouse.appendItem(0, text(kFirstButtonText + b), &*buttons[b]);
    }
    menu.appendItem(MacroEventList::RecordBefore, text(kRecordBeforeText));
    menu.appendItem(MacroEventList::RecordAfter, text(kRecordAfterText));
    menu.appendItem(MacroEventList::InsertDelay, text(kInsertDelayText));
    menu.appendItem(0, text(kMouseButtonText), &mouse);
    menu.appendItem(MacroEventList::Edit, text(kEditText));
    menu.appendItem(MacroEventList::Delete, text(kDeleteText));
    runCommand(m_context.menus().run(menu, QCursor::pos()));
}

void MacroManagerDialog::runCommand(int command) {
    const bool known =
        (command >= MacroEventList::RecordBefore && command <= MacroEventList::Delete) ||
        MacroEventList::mouseCommand(command).has_value();
    if (!known)
        return;
    if (!m_context.macroStore().macroAt(m_current)) {
        warnNoMacro();
        return;
    }
    const int row = m_eventList->selectedRow();
    const uint32_t data = row >= 0 ? m_eventList->itemData(row) : 0;
    const int n = MacroEventList::eventNumber(data);
    std::optional<int> keep;
    switch (command) {
    case MacroEventList::RecordBefore:
        startRecording(row >= 0 ? n - 1 : -1);
        return;
    case MacroEventList::RecordAfter:
        startRecording(row >= 0 ? n : -1);
        return;
    case MacroEventList::InsertDelay:
        if (row >= 0)
            keep = MacroEventList::insertDelay(m_working, data);
        break;
    case MacroEventList::Edit:
        if (row >= 0 && MacroEventList::rowKind(data) == MacroEventList::kPauseRow) {
            m_pauseEvent = n - 1;
            m_eventList->openRowEditor();
        }
        return;
    case MacroEventList::Delete:
        if (row >= 0)
            keep = MacroEventList::deleteRow(m_working, data);
        break;
    default:
        insertMouseButton(command, row >= 0 ? n - 1 : -1);
        return;
    }
    if (!keep)
        return;
    rebuildEvents(*keep);
    writeBack();
}

void MacroManagerDialog::insertMouseButton(int command, int position) {
    const MacroEventList::MouseCommand mouse = *MacroEventList::mouseCommand(command);
    const bool click = mouse.action == MacroEventList::MouseAction::Click;
    if (m_working.eventCount + (click ? 2 : 1) > kMacroEventSlots)
        return;
    m_recorder.setInsertionIndex(position);
    if (mouse.action != MacroEventList::MouseAction::Release)
        m_recorder.insertEvent({mouse.keyCode, kKeyPress, 0});
    if (mouse.action != MacroEventList::MouseAction::Press)
        m_recorder.insertEvent({mouse.keyCode, kKeyRelease, 0});
    rebuildEvents(m_recorder.keepInView());
    writeBack();
}

void MacroManagerDialog::countEdited() {
    const QString text = m_countBox->text();
    const int32_t v = leadingNumber(text.toStdString());
    const int value = v > kMaxRepeatCount ? kMaxRepeatCount : v <= 0 ? 1 : static_cast<int>(v);
    if (value != v)
        m_countBox->setText(QString::number(value));
    m_countValue = value;
    storeRepeatCount();
}

void MacroManagerDialog::loadCurrentMacro() {
    const MacroRecord* macro = m_context.macroStore().macroAt(m_current);
    if (macro) {
        m_working.eventCount = std::clamp(macro->eventCount, 0, kMacroEventSlots);
        std::memcpy(m_working.events, macro->events, sizeof m_working.events);
        m_countValue = macro->repeatCount;
        m_repeatEnabled = macro->repeatCount != 0;
    } else {
        m_working.eventCount = 0;
        m_countValue = 1;
        m_repeatEnabled = false;
    }
    rebuildEvents(m_working.eventCount - 1);
    if (m_countValue <= 0)
        m_countValue = 1;
    {
        // Showing the count is no edit of it.
        const QSignalBlocker quiet(m_countBox);
        m_countBox->setText(QString::number(m_countValue));
    }
    control(RepeatKey)->setChecked(m_repeatEnabled);
    // Every macro shown is stored by the one rule, so that equal macros keep
    // equal bytes whichever was shown before.
    storeRepeatCount();
}

void MacroManagerDialog::rebuildEvents(int keepInView) {
    m_eventList->setRows(
        MacroEventList::rebuild(m_working, keepInView, m_context.keyboardLayout()));
}

void MacroManagerDialog::writeBack() {
    if (MacroRecord* macro = m_context.macroStore().macroAt(m_current)) {
        macro->eventCount = m_working.eventCount;
        std::memcpy(macro->events, m_working.events, sizeof macro->events);
    }
}

void MacroManagerDialog::storeRepeatCount() {
    if (MacroRecord* macro = m_context.macroStore().macroAt(m_current))
        macro->repeatCount = m_repeatEnabled ? m_countValue : 1;
}

void MacroManagerDialog::clampCurrent() {
    const int rows = m_macroList->count();
    if (rows == 0)
        m_current = -1;
    else if (m_current >= rows)
        m_current = rows - 1;
}

void MacroManagerDialog::warnNoMacro() {
    ConfirmationDialog::ask(m_context.dialogs(), m_context.skinsFolder(),
                            ConfirmationDialog::kMacroSetWarning, this);
}

void MacroManagerDialog::startRecording(int insertionIndex) {
    m_recorder.setInsertionIndex(insertionIndex);
    m_recorder.startRecording();
}

bool MacroManagerDialog::startKeyCapture() {
    KeyCapture& capture = m_context.keyCapture();
    disconnect(m_reports);
    capture.start(this);
    m_reports = connect(&capture, &KeyCapture::keyReported, this,
                        [this](quint32 virtualKey, quint32 flags) {
                            m_recorder.recordKeyReport(virtualKey, flags);
                        });
    return capture.grabbed();
}

void MacroManagerDialog::stopKeyCapture() {
    disconnect(m_reports);
    KeyCapture& capture = m_context.keyCapture();
    if (capture.target() == this)
        capture.stop();
}

void MacroManagerDialog::recordingChanged(bool recording) {
    SkinButton* record = control(RecordKey);
    record->setPictures(recording ? m_stopPictures : m_startPictures);
    record->update();
    for (int key : {OkKey, CancelKey, ExitKey, NewKey, DeleteKey})
        control(key)->setEnabled(!recording);
    m_macroList->setEnabled(!recording);
    if (recording) {
        setFocus(Qt::OtherFocusReason);
    } else {
        m_eventList->setEnabled(true);
        writeBack();
    }
}

void MacroManagerDialog::eventsChanged(int keepInView) {
    rebuildEvents(keepInView);
}

} // namespace vantrel
