#include "keys/ShortcutDialog.h"
#include "macro/KeyCapture.h"
#include "settings/TextField.h"
#include "skin/BitmapEdit.h"
#include "tests/KeyEntryFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace vantrel;
using namespace vantrel::test;

namespace {

BitmapEdit* keyBox(QDialog& d) {
    return d.findChild<BitmapEdit*>(QStringLiteral("keyBox"));
}

SkinButton* toggle(QDialog& d, int i) {
    return d.findChild<SkinButton*>(QStringLiteral("toggleButton%1").arg(i));
}

std::array<bool, ShortcutDialog::kToggles> checked(QDialog& d) {
    std::array<bool, ShortcutDialog::kToggles> states{};
    for (int i = 0; i < ShortcutDialog::kToggles; ++i)
        states[i] = toggle(d, i)->isChecked();
    return states;
}

// What the key capture reports; delivered like the capture's own reports.
void report(AppContext& context, quint32 virtualKey, quint32 flags) {
    emit context.keyCapture().keyReported(virtualKey, flags);
}

} // namespace

TEST(ShortcutDialog, OpensWithThePresetKeyAndModifiersAndCapturesWhileShown) {
    struct Case {
        uint8_t key;
        uint8_t modifiers;
        const char* name;
        std::array<bool, ShortcutDialog::kToggles> toggles;
    };
    const Case cases[] = {
        {62, 0x05, "F5", {false, true, false, true, false}}, // bits 0..3 are toggles 1..4
        {4, 0xFF, "A", {false, true, true, true, true}},     // toggle 0 never starts pressed
        {0, 0x00, "", {}},
    };
    for (const Case& c : cases) {
        KeyEntryFixture f;
        f.entry = patternedEntry(kAssignShortcut);
        f.entry.shortcutInitKey = c.key;
        f.entry.shortcutInitModifiers = c.modifiers;
        f.run(&ShortcutDialog::edit, [&](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Halvet Shortcut Dialog"));
            EXPECT_EQ(keyBox(d)->text(), QString::fromLatin1(c.name));
            EXPECT_EQ(checked(d), c.toggles) << int(c.key);
            EXPECT_TRUE(f.context.keyCapture().active());
            EXPECT_EQ(f.context.keyCapture().target(), &d);
            // There is X here, or no desktop at all.
            EXPECT_TRUE(static_cast<ShortcutDialog&>(d).captureNotice().isEmpty());
            press(d, "cancelButton");
        });
        EXPECT_FALSE(f.context.keyCapture().active());
    }
}

TEST(ShortcutDialog, ToggleZeroSendsTheKeyAloneAndHoldsTheOthers) {
    KeyEntryFixture f;
    f.entry = patternedEntry(kAssignMacro);
    f.entry.shortcutInitModifiers = 0;
    const MacroKeyInfo before = f.entry;
    const std::array<bool, ShortcutDialog::kToggles> ctrlAndAlt{false, true, false, true, false};
    EXPECT_TRUE(f.run(&ShortcutDialog::edit, [&](QDialog& d) {
        const auto& dialog = static_cast<ShortcutDialog&>(d);
        report(f.context, 116, 0);
        press(d, "toggleButton1");
        press(d, "toggleButton3");
        EXPECT_EQ(dialog.modifiers(), 0x0A); // bit i for toggle i
        press(d, "toggleButton0");
        press(d, "toggleButton2"); // disabled now: no effect
        EXPECT_EQ(dialog.modifiers(), 1);
        for (int i = 0; i < ShortcutDialog::kToggles; ++i)
            EXPECT_EQ(toggle(d, i)->isEnabled(), i == 0) << i;
        // Released, toggle 0 gives the others back as they were; pressed again, it holds them.
        press(d, "toggleButton0");
        EXPECT_EQ(checked(d), ctrlAndAlt);
        EXPECT_TRUE(toggle(d, 2)->isEnabled());
        press(d, "toggleButton0");
        press(d, "okButton");
    }));
    MacroKeyInfo expected = before;
    expected.assignType = kAssignShortcut;
    std::memset(expected.macroName, 0, sizeof expected.macroName);
    std::memset(expected.events, 0, sizeof expected.events);
    expected.eventCount = 1;
    expected.events[0] = {62, 1, 0}; // the key code and the modifier byte
    EXPECT_TRUE(sameBytes(f.entry, expected));
}

TEST(ShortcutDialog, NoKeyGivesTheStandardFunctionAndCancelTouchesNothing) {
    KeyEntryFixture f;
    f.entry = patternedEntry(kAssignMacro);
    f.entry.shortcutInitKey = 0;
    MacroKeyInfo before = f.entry;
    for (const char* cancel : {"cancelButton", "closeButton"}) {
        EXPECT_FALSE(f.run(&ShortcutDialog::edit, [&](QDialog& d) {
            report(f.context, 116, 0);
            press(d, "toggleButton0");
            press(d, cancel);
        }));
        EXPECT_TRUE(sameBytes(f.entry, before)) << cancel;
    }

    EXPECT_TRUE(f.run(&ShortcutDialog::edit, [&](QDialog& d) {
        press(d, "toggleButton2");
        press(d, "okButton");
    }));
    before.assignType = kAssignStandard;
    before.eventCount = 0;
    std::memset(before.macroName, 0, sizeof before.macroName);
    std::memset(before.events, 0, sizeof before.events);
    EXPECT_TRUE(sameBytes(f.entry, before));
}
