#include "macro/MacroSelectionDialog.h"
#include "macro/MacroStore.h"
#include "skin/ConfirmationDialog.h"
#include "skin/SkinMenu.h"
#include "tests/KeyEntryFixture.h"
#include "tests/macro/MacroTestData.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QTimer>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

using namespace vantrel;
using namespace vantrel::test;

namespace {

constexpr KeyEvent kAPress{4, kKeyPress, 0};
constexpr KeyEvent kARelease{4, kKeyRelease, 30};
constexpr KeyEvent kBPress{5, kKeyPress, 0};

SkinButton* macroButton(QDialog& d) {
    return d.findChild<SkinButton*>(QStringLiteral("macroButton"));
}

std::array<bool, MacroSelectionDialog::kModes> modes(QDialog& d) {
    std::array<bool, MacroSelectionDialog::kModes> checked{};
    for (int i = 0; i < MacroSelectionDialog::kModes; ++i)
        checked[i] = d.findChild<SkinButton*>(QStringLiteral("modeButton%1").arg(i))->isChecked();
    return checked;
}

struct MenuItem {
    int identifier;
    QString text;
    bool operator==(const MenuItem&) const = default;
};

std::vector<MenuItem> items(const SkinMenu& menu) {
    std::vector<MenuItem> all;
    for (const QAction* action : menu.menu().actions())
        all.push_back({SkinMenu::itemOf(action)->identifier, action->text()});
    return all;
}

// The entry as OK leaves it with no macro chosen.
MacroKeyInfo standard(MacroKeyInfo entry, int mode) {
    entry.macroMode = mode;
    entry.assignType = kAssignStandard;
    std::memset(entry.macroName, 0, sizeof entry.macroName);
    entry.eventCount = 0;
    std::memset(entry.events, 0, sizeof entry.events);
    return entry;
}

// The entry as OK leaves it with macro chosen.
MacroKeyInfo assigned(MacroKeyInfo entry, const MacroRecord& macro, int mode) {
    entry.macroMode = mode;
    entry.assignType = kAssignMacro;
    std::memset(entry.macroName, 0, sizeof entry.macroName);
    std::memcpy(entry.macroName, macro.name, std::strlen(macro.name));
    entry.eventCount = static_cast<uint16_t>(macro.eventCount);
    entry.repeatCount = macro.repeatCount;
    std::memcpy(entry.events, macro.events, sizeof entry.events);
    return entry;
}

} // namespace

TEST(MacroSelectionDialog, OkWithoutAPickKeepsTheKeysMacroAsTheStoreHoldsItNow) {
    KeyEntryFixture f;
    MacroStore& store = f.context.macroStore();
    store.appendMacro(makeMacro("First", {kAPress}));
    const MacroRecord second = makeMacro("Second", {kAPress, kARelease, kBPress}, 5);
    store.appendMacro(second);
    // The key still holds the events it had before the macro was edited.
    const MacroKeyInfo key = macroKey("second ", {kAPress});
    std::memcpy(f.entry.macroName, key.macroName, sizeof key.macroName);
    f.entry.assignType = kAssignMacro;
    f.entry.eventCount = key.eventCount;
    std::memcpy(f.entry.events, key.events, sizeof key.events);
    f.entry.macroMode = 2;
    const MacroKeyInfo before = f.entry;

    EXPECT_TRUE(f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
        EXPECT_EQ(static_cast<MacroSelectionDialog&>(d).chosenIndex(), 1);
        EXPECT_EQ(macroButton(d)->caption(), QStringLiteral("second")); // the key's own name
        EXPECT_EQ(modes(d), (std::array<bool, 3>{false, false, true}));
        press(d, "okButton");
    }));
    EXPECT_TRUE(sameBytes(f.entry, assigned(before, second, 2)));
}

TEST(MacroSelectionDialog, AnEmptyStoreGivesAnEmptyMenuAndTheStandardFunction) {
    KeyEntryFixture f;
    f.entry = patternedEntry(kAssignShortcut);
    f.entry.macroMode = 0;
    const MacroKeyInfo before = f.entry;
    EXPECT_TRUE(f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
        EXPECT_TRUE(macroButton(d)->caption().isEmpty());
        f.context.menus().answerNext([](SkinMenu& menu) {
            EXPECT_TRUE(menu.menu().actions().isEmpty());
            return 0;
        });
        press(d, "macroButton");
        EXPECT_FALSE(f.context.menus().hasPendingAnswers());
        press(d, "modeButton1");
        press(d, "okButton");
    }));
    EXPECT_TRUE(sameBytes(f.entry, standard(before, 1)));
}

TEST(MacroSelectionDialog, TheMenuListsTheStoreAndAPickCountsOnlyOnOk) {
    const MacroRecord third = makeMacro("  Third macro\t", {kBPress}, 3);
    for (const char* end : {"okButton", "cancelButton", "closeButton"}) {
        KeyEntryFixture f;
        MacroStore& store = f.context.macroStore();
        store.appendMacro(makeMacro("One", {kAPress}));
        store.appendMacro(makeMacro("Two", {}));
        store.appendMacro(third);
        f.entry = patternedEntry(kAssignStandard);
        f.entry.macroMode = 1;
        const MacroKeyInfo before = f.entry;
        const bool confirmed = f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
            EXPECT_EQ(static_cast<MacroSelectionDialog&>(d).chosenIndex(), -1);
            f.context.menus().answerNext([](SkinMenu& menu) {
                EXPECT_EQ(items(menu),
                          (std::vector<MenuItem>{{1100, QStringLiteral("One")},
                                                 {1101, QStringLiteral("Two")},
                                                 {1102, QStringLiteral("Third macro")}}));
                EXPECT_EQ(QFontInfo(menu.menu().font()).pixelSize(), 14);
                EXPECT_EQ(menu.menu().font().family(), QStringLiteral("Arial"));
                EXPECT_GE(menu.menu().minimumWidth(), MacroSelectionDialog::kMenuItemWidth);
                return 1102;
            });
            press(d, "macroButton");
            EXPECT_EQ(static_cast<MacroSelectionDialog&>(d).chosenIndex(), 2);
            EXPECT_EQ(macroButton(d)->caption(), QStringLiteral("Third macro"));
            press(d, end);
        });
        EXPECT_EQ(confirmed, std::string(end) == "okButton");
        EXPECT_TRUE(sameBytes(f.entry, confirmed ? assigned(before, third, 1) : before)) << end;
    }
}

TEST(MacroSelectionDialog, TheMenuOpensBelowTheDropDownWhichThenShowsReleased) {
    KeyEntryFixture f;
    f.context.macroStore().appendMacro(makeMacro("One", {kAPress}));
    f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
        SkinButton* dropDown = macroButton(d);
        QPoint shownAt;
        QTimer::singleShot(0, &d, [&shownAt] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                shownAt = menu->pos();
                menu->close();
            }
        });
        press(d, "macroButton");
        EXPECT_EQ(shownAt, dropDown->mapToGlobal(QPoint(1, dropDown->height())));
        EXPECT_FALSE(dropDown->isDown() || dropDown->hover());
        press(d, "cancelButton");
    });
}

TEST(MacroSelectionDialog, ExactlyOneModeShowsPressed) {
    struct Case {
        int32_t stored;
        std::array<bool, 3> shown;
    };
    // A mode out of range, from a damaged file, shows as the first.
    const Case cases[] = {{0, {true, false, false}},
                          {1, {false, true, false}},
                          {2, {false, false, true}},
                          {7, {true, false, false}},
                          {-1, {true, false, false}}};
    for (const Case& c : cases) {
        KeyEntryFixture f;
        f.entry.macroMode = c.stored;
        f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
            EXPECT_EQ(modes(d), c.shown) << c.stored;
            for (int i : {2, 0, 0, 1}) {
                press(d, qPrintable(QStringLiteral("modeButton%1").arg(i)));
                std::array<bool, 3> one{};
                one[i] = true;
                EXPECT_EQ(modes(d), one);
                EXPECT_EQ(static_cast<MacroSelectionDialog&>(d).mode(), i);
            }
            press(d, "cancelButton");
        });
    }
}

TEST(DeleteMacroConfirmation, OnlyOkConfirms) {
    for (const auto& [button, confirms] :
         {std::pair{"confirmButton", true}, {"cancelButton", false}, {"closeButton", false}}) {
        KeyEntryFixture f;
        f.context.dialogs().answerNext([button = button](QDialog& d) {
            d.show();
            press(d, button);
            return d.result();
        });
        EXPECT_EQ(ConfirmationDialog::ask(f.context.dialogs(), f.context.skinsFolder(),
                                          ConfirmationDialog::kDeleteMacroWarning, nullptr),
                  confirms)
            << button;
    }
}
