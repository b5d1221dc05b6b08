#include "macro/MacroSelectionDialog.h"

#include "macro/MacroStore.h"
#include "settings/MacroKeyInfo.h"
#include "settings/TextField.h"
#include "skin/AppContext.h"
#include "skin/ControlIds.h"
#include "skin/SkinButton.h"
#include "skin/SkinFonts.h"
#include "skin/SkinMenu.h"

namespace vantrel {

namespace {

// Names are told apart without their outer blanks; they are shown so too.
QString shownName(const std::string& name) {
    return QString::fromStdString(std::string(trimmed(name)));
}

} // namespace

const std::array<SkinControl<MacroSelectionDialog>, 5> MacroSelectionDialog::kControls{{
    {OkKey, "okButton", ControlKind::Button, &MacroSelectionDialog::confirm},
    {CancelKey, "cancelButton", ControlKind::Button, &MacroSelectionDialog::cancel},
    {CloseKey, "closeButton", ControlKind::Button, &MacroSelectionDialog::cancel},
    {MacroKey, "macroButton", ControlKind::Button, &MacroSelectionDialog::openMenu},
    {FirstModeKey, "modeButton", ControlKind::Button, nullptr, kModes,
     &MacroSelectionDialog::chooseMode},
}};

MacroSelectionDialog::MacroSelectionDialog(AppContext& context, const MacroKeyInfo& entry,
                                           QWidget* owner)
    : SkinnedDialog(context.skinsFolder(), "skin_select_macro.ini",
                    SkinWindowKinds::kMacroSelectionDialog, owner),
      m_context(context) {
    setObjectName(QStringLiteral("macroSelectionDialog"));
    buildControls<MacroSelectionDialog>(*this, kControls);
    if (entry.assignType == kAssignMacro) {
        m_chosen = context.macroStore().findMacroForKey(entry).index;
        control(MacroKey)->setCaption(shownName(fieldText(entry.macroName)));
    }
    // A mode from a damaged file is shown, and kept on OK, as the first one,
    // so that exactly one mode button is pressed.
    m_mode = entry.macroMode >= 0 && entry.macroMode < kModes ? entry.macroMode : 0;
    showModes();
}

bool MacroSelectionDialog::edit(AppContext& context, MacroKeyInfo& entry, QWidget* owner) {
    MacroSelectionDialog dialog(context, entry, owner);
    if (context.dialogs().run(dialog) != QDialog::Accepted)
        return false;
    entry.macroMode = dialog.mode();
    if (const MacroRecord* macro = context.macroStore().macroAt(dialog.chosenIndex())) {
        MacroStore::copyMacroToKey(*macro, entry);
        entry.assignType = kAssignMacro;
    } else {
        entry.assignType = kAssignStandard;
        clearMacroFields(entry);
    }
    return true;
}

void MacroSelectionDialog::openMenu() {
    const MacroStore& store = m_context.macroStore();
    SkinMenu menu(SkinFonts::macroMenu());
    menu.setItemWidth(kMenuItemWidth);
    for (int i = 0; i < store.count(); ++i)
        menu.appendItem(ControlIds::kFirstStoreMacroCommand + i,
                        shownName(fieldText(store.macroAt(i)->name)));
    // A click is sent once the button is up again, so it shows released
    // while the menu is open and after.
    SkinButton* button = control(MacroKey);
    const int command =
        m_context.menus().run(menu, button->mapToGlobal(QPoint(1, button->height())));
    const int index = command - ControlIds::kFirstStoreMacroCommand;
    if (const MacroRecord* macro = store.macroAt(index)) {
        m_chosen = index;
        button->setCaption(shownName(fieldText(macro->name)));
        button->update();
    }
}

void MacroSelectionDialog::chooseMode(int mode) {
    m_mode = mode;
    showModes();
}

void MacroSelectionDialog::showModes() {
    for (int i = 0; i < kModes; ++i)
        control(FirstModeKey + i)->setChecked(i == m_mode);
}

void MacroSelectionDialog::confirm() {
    accept();
}

void MacroSelectionDialog::cancel() {
    reject();
}

} // namespace vantrel
