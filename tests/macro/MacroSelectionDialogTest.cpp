#include "macro/MacroSelectionDialog.h"
#include "macro/MacroStore.h"
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

using namespace vantrel;
using namespace vantrel::test;

namespace {

using Modes = std::array<bool, MacroSelectionDialog::kModes>;

SkinButton* dropDown(QDialog& d) {
    return d.findChild<SkinButton*>(QStringLiteral("macroButton"));
}

Modes modes(QDialog& d) {
    Modes checked{};
    for (int i = 0; i < MacroSelectionDialog::kModes; ++i)
        checked[i] = d.findChild<SkinButton*>(QStringLiteral("modeButton%1").arg(i))->isChecked();
    return checked;
}

// The entry as OK leaves it: the mode, and the macro or the standard function.
MacroKeyInfo afterOk(MacroKeyInfo entry, int mode, const MacroRecord* macro) {
    entry.macroMode = mode;
    entry.assignType = macro ? kAssignMacro : kAssignStandard;
    std::memset(entry.macroName, 0, sizeof entry.macroName);
    std::memset(entry.events, 0, sizeof entry.events);
    entry.eventCount = 0;
    if (macro)
        MacroStore::copyMacroToKey(*macro, entry);
    return entry;
}

} // namespace

TEST(MacroSelectionDialog, OkWithoutAPickKeepsTheKeysMacroAsTheStoreHoldsItNow) {
    KeyEntryFixture f;
    f.context.macroStore().appendMacro(makeMacro("First", {{4, kKeyPress, 0}}));
    const MacroRecord second = makeMacro("Second", {{4, kKeyPress, 9}, {4, kKeyRelease, 0}}, 5);
    f.context.macroStore().appendMacro(second);
    // The key still holds the events the macro had before it was edited.
    const MacroKeyInfo key = macroKey("second ", {{4, kKeyPress, 0}});
    std::memcpy(f.entry.macroName, key.macroName, sizeof key.macroName);
    f.entry.assignType = kAssignMacro;
    f.entry.eventCount = key.eventCount;
    std::memcpy(f.entry.events, key.events, sizeof key.events);
    f.entry.macroMode = 2;
    const MacroKeyInfo before = f.entry;

    EXPECT_TRUE(f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
        EXPECT_EQ(static_cast<MacroSelectionDialog&>(d).chosenIndex(), 1);
        EXPECT_EQ(dropDown(d)->caption(), QStringLiteral("second")); // the key's own name
        EXPECT_EQ(modes(d), (Modes{false, false, true}));
        press(d, "okButton");
    }));
    EXPECT_TRUE(sameBytes(f.entry, afterOk(before, 2, &second)));
}

TEST(MacroSelectionDialog, AnEmptyStoreGivesAnEmptyMenuAndTheStandardFunction) {
    KeyEntryFixture f;
    f.entry = patternedEntry(kAssignShortcut);
    const MacroKeyInfo before = f.entry;
    EXPECT_TRUE(f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
        EXPECT_TRUE(dropDown(d)->caption().isEmpty());
        f.context.menus().answerNext([](SkinMenu& menu) {
            EXPECT_TRUE(menu.menu().actions().isEmpty());
            return 0;
        });
        press(d, "macroButton");
        EXPECT_FALSE(f.context.menus().hasPendingAnswers());
        press(d, "modeButton1");
        press(d, "okButton");
    }));
    EXPECT_TRUE(sameBytes(f.entry, afterOk(before, 1, nullptr)));
}

TEST(MacroSelectionDialog, TheMenuListsTheStoreAndAPickCountsOnlyOnOk) {
    const MacroRecord third = makeMacro("  Third macro\t", {{5, kKeyPress, 0}}, 3);
    for (const char* end : {"okButton", "cancelButton", "closeButton"}) {
        KeyEntryFixture f;
        f.context.macroStore().appendMacro(makeMacro("One", {}));
        f.context.macroStore().appendMacro(makeMacro("Two", {}));
        f.context.macroStore().appendMacro(third);
        f.entry.macroMode = 1;
        const MacroKeyInfo before = f.entry;
        const bool confirmed = f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
            f.context.menus().answerNext([](SkinMenu& menu) {
                const QList<QAction*> items = menu.menu().actions();
                EXPECT_EQ(items.size(), 3);
                for (int i = 0; i < items.size(); ++i)
                    EXPECT_EQ(SkinMenu::itemOf(items[i])->identifier, 1100 + i);
                EXPECT_EQ(items.back()->text(), QStringLiteral("Third macro"));
                EXPECT_EQ(menu.menu().font().family(), QStringLiteral("Arial"));
                EXPECT_EQ(QFontInfo(menu.menu().font()).pixelSize(), 14);
                EXPECT_GE(menu.menu().minimumWidth(), MacroSelectionDialog::kMenuItemWidth);
                return 1102;
            });
            press(d, "macroButton");
            EXPECT_EQ(static_cast<MacroSelectionDialog&>(d).chosenIndex(), 2);
            EXPECT_EQ(dropDown(d)->caption(), QStringLiteral("Third macro"));
            press(d, end);
        });
        EXPECT_EQ(confirmed, std::string(end) == "okButton");
        EXPECT_TRUE(sameBytes(f.entry, confirmed ? afterOk(before, 1, &third) : before)) << end;
    }
}

TEST(MacroSelectionDialog, TheMenuOpensBelowTheDropDownWhichThenShowsReleased) {
    KeyEntryFixture f;
    f.context.macroStore().appendMacro(makeMacro("One", {}));
    f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
        QPoint shownAt;
        QTimer::singleShot(0, &d, [&shownAt] {
            if (QWidget* menu = QApplication::activePopupWidget()) {
                shownAt = menu->pos();
                menu->close();
            }
        });
        press(d, "macroButton");
        EXPECT_EQ(shownAt, dropDown(d)->mapToGlobal(QPoint(1, dropDown(d)->height())));
        EXPECT_FALSE(dropDown(d)->isDown() || dropDown(d)->hover());
        press(d, "cancelButton");
    });
}

TEST(MacroSelectionDialog, ExactlyOneModeShowsPressed) {
    // A mode out of range, from a damaged file, shows as the first.
    for (const auto& [stored, shown] : {std::pair{1, Modes{false, true, false}},
                                        {2, Modes{false, false, true}},
                                        {7, Modes{true, false, false}},
                                        {-1, Modes{true, false, false}}}) {
        KeyEntryFixture f;
        f.entry.macroMode = stored;
        f.run(&MacroSelectionDialog::edit, [&](QDialog& d) {
            EXPECT_EQ(modes(d), shown) << stored;
            for (int i : {2, 0, 0, 1}) {
                press(d, qPrintable(QStringLiteral("modeButton%1").arg(i)));
                Modes one{};
                one[i] = true;
                EXPECT_EQ(modes(d), one);
            }
            press(d, "cancelButton");
        });
    }
}
