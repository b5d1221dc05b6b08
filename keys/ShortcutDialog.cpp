#include "keys/ShortcutDialog.h"

#include "macro/KeyCapture.h"
#include "macro/MacroRecorder.h"
#include "settings/KeyNames.h"
#include "settings/KeyTable.h"
#include "settings/MacroKeyInfo.h"
#include "skin/AppContext.h"
#include "skin/BitmapEdit.h"
#include "skin/ColourWord.h"
#include "skin/Palette.h"
#include "skin/SkinButton.h"

#include <QGuiApplication>
#include <QPainter>

namespace vantrel {

namespace {

// One line between the toggles and the OK button.
constexpr QRect kNoticeArea(24, 180, 396, 22);

QString keyNameText(uint32_t virtualKey) {
    return QString::fromStdString(KeyNames::keyName(virtualKey));
}

} // namespace

const std::array<SkinControl<ShortcutDialog>, 5> ShortcutDialog::kControls{{
    {KeyBoxKey, "keyBox", ControlKind::TextBox},
    {OkKey, "okButton", ControlKind::Button, &ShortcutDialog::confirm},
    {CancelKey, "cancelButton", ControlKind::Button, &ShortcutDialog::cancel},
    {CloseKey, "closeButton", ControlKind::Button, &ShortcutDialog::cancel},
    {FirstToggleKey, "toggleButton", ControlKind::ToggleButton, nullptr, kToggles,
     &ShortcutDialog::toggled},
}};

ShortcutDialog::ShortcutDialog(AppContext& context, const MacroKeyInfo& entry, QWidget* owner)
    : SkinnedDialog(context.skinsFolder(), "skin_shortcut.ini", SkinWindowKinds::kShortcutDialog,
                    owner),
      m_context(context), m_keyCode(entry.shortcutInitKey) {
    setObjectName(QStringLiteral("shortcutDialog"));
    setWindowTitle(QStringLiteral("Halvet Shortcut Dialog"));
    buildControls<ShortcutDialog>(*this, kControls);
    m_keyBox = control<BitmapEdit>(KeyBoxKey);
    m_keyBox->setColours(colourFromWord(Palette::kShortcutBoxText),
                         colourFromWord(Palette::kShortcutBoxGround));
    m_keyBox->setAlignment(Qt::AlignCenter);
    // The box only shows the caught key; nothing is typed or pasted into it.
    m_keyBox->setReadOnly(true);
    m_keyBox->setFocusPolicy(Qt::NoFocus);
    m_keyBox->setText(keyNameText(
        KeyTable::virtualKeyFromKeyCode(m_keyCode, context.keyboardLayout()).value_or(0)));

    for (int i = 1; i < kToggles; ++i)
        m_toggles[i] = (entry.shortcutInitModifiers >> (i - 1)) & 1;
    showToggles();

    m_captureNotice = KeyCapture::notice(QGuiApplication::platformName());
}

ShortcutDialog::~ShortcutDialog() {
    stopCapture();
}

bool ShortcutDialog::edit(AppContext& context, MacroKeyInfo& entry, QWidget* owner) {
    ShortcutDialog dialog(context, entry, owner);
    if (context.dialogs().run(dialog) != QDialog::Accepted)
        return false;
    // A shortcut keeps its key code and modifier byte in the first two bytes
    // of the events; everything else there, and the name, is cleared.
    clearMacroFields(entry);
    if (dialog.keyCode() == 0) {
        entry.assignType = kAssignStandard;
    } else {
        entry.assignType = kAssignShortcut;
        entry.eventCount = 1;
        entry.events[0].keyCode = dialog.keyCode();
        entry.events[0].action = dialog.modifiers();
    }
    return true;
}

uint8_t ShortcutDialog::modifiers() const {
    if (m_toggles[0])
        return 1;
    uint8_t bits = 0;
    for (int i = 1; i < kToggles; ++i) {
        if (m_toggles[i])
            bits |= static_cast<uint8_t>(1 << i);
    }
    return bits;
}

void ShortcutDialog::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    // Started after the window's key gate, so that the capture sees Enter and
    // Escape before the gate drops them.
    startCapture();
}

void ShortcutDialog::hideEvent(QHideEvent* event) {
    stopCapture();
    SkinnedDialog::hideEvent(event);
}

void ShortcutDialog::paintContents(QPainter& painter) {
    if (!m_captureNotice.isEmpty())
        paintNotice(painter, kNoticeArea, m_captureNotice);
}

void ShortcutDialog::startCapture() {
    KeyCapture& capture = m_context.keyCapture();
    disconnect(m_reports);
    capture.start(this);
    m_reports = connect(&capture, &KeyCapture::keyReported, this, &ShortcutDialog::keyReported);
}

void ShortcutDialog::stopCapture() {
    disconnect(m_reports);
    KeyCapture& capture = m_context.keyCapture();
    if (capture.target() == this)
        capture.stop();
}

void ShortcutDialog::keyReported(quint32 virtualKey, quint32 flags) {
    virtualKey = MacroRecorder::reportedVirtualKey(virtualKey, flags);
    // Every report, release too, replaces the key: the last key let go is the one.
    m_keyCode = static_cast<uint8_t>(
        KeyTable::keyCodeFromVirtualKey(virtualKey, m_context.keyboardLayout()).value_or(0));
    m_keyBox->setText(keyNameText(virtualKey));
}

void ShortcutDialog::toggled(int index) {
    m_toggles[index] = control(FirstToggleKey + index)->isChecked();
    showToggles();
}

void ShortcutDialog::showToggles() {
    for (int i = 0; i < kToggles; ++i) {
        SkinButton* toggle = control(FirstToggleKey + i);
        toggle->setChecked(m_toggles[i]);
        // "Alone" sends the key without modifiers: the others do not count then.
        toggle->setEnabled(i == 0 || !m_toggles[0]);
    }
}

void ShortcutDialog::confirm() {
    accept();
}

void ShortcutDialog::cancel() {
    reject();
}

} // namespace vantrel
