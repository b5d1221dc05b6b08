#include "keys/KeyAssignmentPage.h"

#include "keys/KeyFunctionMenu.h"
#include "keys/KeyFunctionTable.h"
#include "keys/LaunchProgramDialog.h"
#include "keys/ShortcutDialog.h"
#include "link/ChangeFlags.h"
#include "macro/Clock.h"
#include "macro/MacroManagerDialog.h"
#include "macro/MacroSelectionDialog.h"
#include "settings/MacroKeyInfo.h"
#include "settings/SharedBlock.h"
#include "skin/AppContext.h"
#include "skin/ColourButton.h"
#include "skin/ProgramPictures.h"
#include "skin/ShapedButton.h"
#include "skin/SkinWindowKind.h"

namespace vantrel {

namespace {

// The DIY effect in use, 0..4, or -1 for any other effect.
int diyIndex(const ProfileRecord& profile) {
    const int d = profile.LtSwitch - kFirstDiyEffect;
    return d >= 0 && d < kDiyEffects ? d : -1;
}

// About 30 frames a second, as the keyboard gets them.
constexpr int kPreviewIntervalMs = 33;

const Clock& steadyClock() {
    static const SteadyClock clock;
    return clock;
}

} // namespace

const std::array<SkinControl<KeyAssignmentPage>, 1> KeyAssignmentPage::kControls{{
    {.key = kFirstKeyPlacement,
     .role = "keyButton",
     .count = kKeyPositions,
     .indexedAction = &KeyAssignmentPage::selectKey},
}};

KeyAssignmentPage::KeyAssignmentPage(AppContext& context, QWidget* parent)
    : SkinPage(context.skinsFolder(), "skin_main.ini", SkinWindowKinds::kKeyAssignmentPage, parent),
      m_context(context), m_clock(&steadyClock()) {
    setObjectName(QStringLiteral("keyAssignmentPage"));
    m_previewTimer.setInterval(kPreviewIntervalMs);
    connect(&m_previewTimer, &QTimer::timeout, this, &KeyAssignmentPage::showPreviewFrame);
    buildControls<KeyAssignmentPage>(*this, kControls, [this] {
        const QRect enterRect = placementRect(kFirstKeyPlacement + kEnterPosition);
        m_enterKey = new ShapedButton(QStringLiteral("Enter"), enterRect,
                                      QString::fromLatin1(ProgramPictures::kEnterKeyMask), this);
        m_enterKey->setObjectName(QStringLiteral("enterKey"));
        m_enterKey->setPicturesFromSkin(enterRect, statePictures());
        connect(m_enterKey, &SkinButton::clicked, this, [this] { selectKey(kEnterPosition); });
    });
    for (int i = 0; i < kKeyPositions; ++i)
        m_standardLooks[static_cast<size_t>(i)] = keyButton(i)->pictures();
    m_enterStandardLook = m_enterKey->pictures();
    makeColourKeys();
    setKeyboardLook(Look::Keys);
}

SkinButton* KeyAssignmentPage::keyButton(int position) const {
    return control(kFirstKeyPlacement + position);
}

ColourButton* KeyAssignmentPage::colourKey(int position) const {
    return m_colourKeys.at(static_cast<size_t>(position));
}

void KeyAssignmentPage::makeColourKeys() {
    // Each shows the pictures of the key beneath it, shared rather than cut
    // again (cutting 512 more pictures was a sixth of the program's start),
    // and lies above it.
    for (int i = 0; i < kKeyPositions; ++i) {
        const ControlPlacement placement = description().buttonPlacement(kFirstKeyPlacement + i);
        auto* key = new ColourButton(this);
        key->setObjectName(QStringLiteral("colourKey%1").arg(i));
        key->setGeometry(rectOf(placement));
        key->setPictures(m_standardLooks[static_cast<size_t>(i)]);
        key->setHintText(QString::fromStdString(placement.text), true);
        key->setBlendMode(true);
        key->setPressPaints(true);
        key->hide();
        connect(key, &SkinButton::clicked, this, [this, i] { colourKeyClicked(i); });
        m_colourKeys[static_cast<size_t>(i)] = key;
    }
}

SkinButton* KeyAssignmentPage::shownButton(int position) const {
    return position == kEnterPosition ? m_enterKey : keyButton(position);
}

void KeyAssignmentPage::setBrushColour(uint32_t colour) {
    for (ColourButton* key : m_colourKeys)
        key->setBrushColour(colour);
}

void KeyAssignmentPage::setKeyboardLook(Look look) {
    m_look = look;
    const bool keys = look == Look::Keys;
    for (int i = 0; i < kKeyPositions; ++i) {
        SkinButton* button = keyButton(i);
        button->setEnabled(keys && i != kEnterPosition && i != kDisabledPosition);
        button->setVisible(keys && i != kEnterPosition);
    }
    m_enterKey->setEnabled(keys);
    m_enterKey->setVisible(keys);

    // In the lighting look every colour key shows; they paint only in a DIY
    // effect's per-key mode and play a key press otherwise.
    const ProfileRecord& profile = m_context.currentProfile();
    const int d = diyIndex(profile);
    const bool allKeysMode = d >= 0 && profile.DIYColorOption[d] != 0;
    for (ColourButton* key : m_colourKeys) {
        key->setPressPaints(d >= 0 && !allKeysMode);
        key->setEnabled(!keys && !allKeysMode);
        key->setVisible(!keys);
    }
    showPreviewFrame();
    runPreviewWhileSeen();
}

void KeyAssignmentPage::showPreviewFrame() {
    if (m_look != Look::Lighting)
        return;
    m_renderer.setProfile(m_context.currentProfile());
    const EffectRenderer::Frame frame = m_renderer.render(m_clock->milliseconds());
    for (int i = 0; i < kKeyPositions; ++i) {
        ColourButton* key = m_colourKeys[static_cast<size_t>(i)];
        // A key held by the mouse shows the brush until it is let go.
        if (key->isDown() || key->colour() == frame[static_cast<size_t>(i)])
            continue;
        key->setColour(frame[static_cast<size_t>(i)]);
        key->update();
    }
}

void KeyAssignmentPage::runPreviewWhileSeen() {
    if (m_look == Look::Lighting && isVisible())
        m_previewTimer.start();
    else
        m_previewTimer.stop();
}

void KeyAssignmentPage::showEvent(QShowEvent* event) {
    SkinPage::showEvent(event);
    runPreviewWhileSeen();
}

void KeyAssignmentPage::hideEvent(QHideEvent* event) {
    SkinPage::hideEvent(event);
    runPreviewWhileSeen();
}

void KeyAssignmentPage::colourKeyClicked(int position) {
    if (diyIndex(m_context.currentProfile()) >= 0) {
        paintKey(position);
        return;
    }
    m_renderer.keyPressed(position, m_clock->milliseconds());
    showPreviewFrame();
}

void KeyAssignmentPage::refreshKeyLabels() {
    const ProfileRecord& profile = m_context.currentProfile();
    for (int i = 0; i < kKeyPositions; ++i) {
        const MacroKeyInfo& entry = profile.MacroKeyInfo[i];
        SkinButton* button = shownButton(i);
        button->setHintText(QString::fromStdString(KeyFunctionTable::tooltip(
                                entry, i, m_context.strings(), m_context.keyboardLayout())),
                            true);
        SkinPictures look =
            i == kEnterPosition ? m_enterStandardLook : m_standardLooks[static_cast<size_t>(i)];
        if (!KeyFunctionTable::looksStandard(entry, i))
            look.normal = look.down;
        button->setPictures(look);
    }
}

void KeyAssignmentPage::paintKey(int position) {
    ProfileRecord& profile = m_context.currentProfile();
    const int d = diyIndex(profile);
    if (d < 0)
        return;
    profile.CustomColor[d][position] = profile.DIYColor[d][0];
    showPreviewFrame();
}

void KeyAssignmentPage::selectKey(int k) {
    if (k < 0 || k >= kKeyPositions)
        return;
    m_selectedKey = k;
    m_context.keyEntryScratch() = m_context.currentProfile().MacroKeyInfo[k];

    // The menu opens under the key's left edge (for 43 the Enter key's place).
    const SkinButton* button = keyButton(k);
    const QPoint at = mapToGlobal(button->geometry().bottomLeft() + QPoint(0, 1));
    KeyFunctionMenu menu(m_context.strings());
    const int command = m_context.menus().run(menu.menu(), at);
    for (SkinButton* shown : {keyButton(k), shownButton(k)}) {
        shown->setHover(false);
        shown->update();
    }
    setFocus();
    runCommand(command);
}

void KeyAssignmentPage::runCommand(int command) {
    if (command < KeyFunctionTable::kStandard || command > KeyFunctionTable::kLastCommand ||
        m_selectedKey < 0 || m_selectedKey >= kKeyPositions)
        return;
    SharedBlock& edited = m_context.editedSettings();
    MacroKeyInfo& entry = m_context.currentProfile().MacroKeyInfo[m_selectedKey];
    // The dialogs write the entry themselves, and only on OK.
    bool opensDialog = true;
    bool confirmed = false;
    switch (command) {
    case KeyFunctionTable::kShortcut:
        confirmed = ShortcutDialog::edit(m_context, entry, this);
        break;
    case KeyFunctionTable::kLaunchProgram:
        confirmed = LaunchProgramDialog::edit(m_context, entry, this);
        break;
    case KeyFunctionTable::kSelectMacro:
        confirmed = MacroSelectionDialog::edit(m_context, entry, this);
        break;
    case KeyFunctionTable::kMacroManager:
        // The manager changes no key of its own; OK may have changed macro keys.
        if (MacroManagerDialog::manage(m_context, this))
            refreshKeyLabels();
        return;
    default:
        opensDialog = false;
        break;
    }
    if (opensDialog) {
        if (confirmed) {
            ChangeFlags::markKeyChanged(edited, profileIndexInRange(edited.CurrentProfile),
                                        m_selectedKey);
            refreshKeyLabels();
        }
        return;
    }
    if (command >= KeyFunctionTable::kFirstStoreMacro) {
        const MacroRecord* macro =
            m_context.macroStore().macroAt(command - KeyFunctionTable::kFirstStoreMacro);
        if (macro) {
            MacroStore::copyMacroToKey(*macro, entry);
            entry.assignType = kAssignMacro;
        } else {
            entry.assignType = kAssignStandard;
        }
    } else {
        entry.assignType = static_cast<uint8_t>(KeyFunctionTable::typeForCommand(command));
    }
    if (entry.assignType != kAssignShortcut && entry.assignType != kAssignMacro)
        clearMacroFields(entry);
    ChangeFlags::markKeyChanged(edited, profileIndexInRange(edited.CurrentProfile), m_selectedKey);
    refreshKeyLabels();
}

} // namespace vantrel
