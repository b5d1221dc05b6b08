#include "keys/KeyAssignmentPage.h"
#include "keys/KeyFunctionMenu.h"
#include "keys/KeyFunctionTable.h"
#include "macro/MacroStore.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"
#include "skin/AppContext.h"
#include "skin/ColourButton.h"
#include "skin/ShapedButton.h"
#include "skin/SkinMenu.h"
#include "tests/TempProgramFolder.h"
#include "tests/macro/FakeClock.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace vantrel;

namespace {

struct PageFixture {
    vantrel::test::TempProgramFolder folder;
    AppContext context{folder.folder(), std::nullopt};
    std::unique_ptr<KeyAssignmentPage> page;

    PageFixture() {
        resetAllProfiles(context.editedSettings(), context.strings());
        page = std::make_unique<KeyAssignmentPage>(context, nullptr);
        page->show();
    }
    ProfileRecord& profile() { return context.editedSettings().profiles[0]; }
    MacroKeyInfo& entry(int k) { return profile().MacroKeyInfo[k]; }
    // Opens key k's menu and chooses command from it.
    void choose(int k, int command) {
        context.menus().answerNext(command);
        page->selectKey(k);
    }
    bool looksAssigned(int k) {
        const SkinButton* button =
            k == KeyAssignmentPage::kEnterPosition ? page->enterKey() : page->keyButton(k);
        return button->pictures().normal.image() == button->pictures().down.image();
    }
};

// The entries of a menu: its identifiers, with -1 for a submenu.
std::vector<int> entries(const QMenu& menu) {
    std::vector<int> ids;
    for (const QAction* action : menu.actions())
        ids.push_back(action->menu() ? -1 : SkinMenu::itemOf(action)->identifier);
    return ids;
}

std::vector<QString> texts(const QMenu& menu) {
    std::vector<QString> all;
    for (const QAction* action : menu.actions())
        all.push_back(action->text());
    return all;
}

} // namespace

TEST(KeyFunctionMenu, EntriesStandInTheirOrderWithTheirCommands) {
    vantrel::test::TempProgramFolder folder;
    const LanguageStrings strings(folder.file("lan.ini"));
    KeyFunctionMenu menu(strings);
    EXPECT_EQ(entries(menu.menu().menu()),
              (std::vector<int>{1002, -1, 0, -1, -1, -1, -1, 0, 1001, 1040}));
    EXPECT_EQ(texts(menu.menu().menu())[1], QStringLiteral("Macro"));
    EXPECT_EQ(texts(menu.menu().menu())[6], QStringLiteral("Launch"));
    EXPECT_EQ(entries(menu.submenu(1071)->menu()), (std::vector<int>{1060, 0, 1061}));
    // Multimedia lists types 33, 34, 35, 36, 39, 37, 38, 32.
    EXPECT_EQ(entries(menu.submenu(1087)->menu()),
              (std::vector<int>{1022, 1023, 1024, 1025, 1028, 1026, 1027, 1021}));
    EXPECT_EQ(entries(menu.submenu(1042)->menu()),
              (std::vector<int>{1051, 1052, 1053, 1054, 1055, 1056, 1057, 1058, 1059}));
    EXPECT_EQ(entries(menu.submenu(1078)->menu()),
              (std::vector<int>{1013, 1014, 1015, 1016, 1017, 1018, 1019, 1020}));
    // Launch lists types 49, 50, 40, 51, 52, 55, 56, 53, 54, 57, 41, then our launch-program entry.
    EXPECT_EQ(
        entries(menu.submenu(1047)->menu()),
        (std::vector<int>{1041, 1042, 1029, 1043, 1044, 1045, 1046, 1047, 1048, 1049, 1030, 1003}));
    EXPECT_EQ(texts(menu.submenu(1047)->menu()).back(), QStringLiteral("Launch Program..."));
    // Every command of the handler's table maps back to its type; unknown ids as the rule says.
    for (const KeyFunctionRow& row : KeyFunctionTable::rows()) {
        if (row.command != 0) {
            EXPECT_EQ(KeyFunctionTable::typeForCommand(row.command), row.assignType) << row.command;
        }
    }
    EXPECT_EQ(KeyFunctionTable::typeForCommand(1099), 0);
    EXPECT_EQ(KeyFunctionTable::typeForCommand(1100), 3);
    EXPECT_EQ(KeyFunctionTable::typeForCommand(3999), 3);
}

TEST(KeyAssignmentPage, EachFunctionTypeShowsItsTooltipAndLook) {
    struct Case {
        uint8_t type;
        uint8_t shortcutKey;
        const char* tooltip;
        bool assigned;
    };
    // Key 1 is F1 (standard code 58).
    const Case cases[] = {
        {kAssignStandard, 0, "", false},
        {kAssignShortcut, 58, "", false},
        {kAssignShortcut, 62, "Shortcut: F5", true},
        {kAssignMacro, 0, "Macro: Combo", true},
        {kAssignLaunch, 0, "game.sh", true},
        {1, 0, "Disable", true},
        {24, 0, "Left Click", true},
        {33, 0, "Play/Pause", true},
        {64, 0, "Profile 1", true},
        {241, 0, "Left Button", true},
        {8, 0, "Wheel Up", true},
        {0, 0, "", true},
        {200, 0, "", true},
    };
    PageFixture f;
    for (const Case& c : cases) {
        MacroKeyInfo& e = f.entry(1);
        e.assignType = c.type;
        e.eventCount = 1;
        e.events[0].keyCode = c.shortcutKey;
        copyToField(e.macroName, "Combo");
        copyToField(e.programPath, "/home/me/bin/game.sh");
        f.page->refreshKeyLabels();
        EXPECT_EQ(f.page->keyButton(1)->toolTip().toStdString(), c.tooltip) << int(c.type);
        EXPECT_EQ(f.looksAssigned(1), c.assigned) << int(c.type);
    }
}

TEST(KeyAssignmentPage, BuiltInFunctionsClearTheMacroButKeepModeAndPath) {
    PageFixture f;
    MacroKeyInfo& e = f.entry(20);
    e.assignType = kAssignMacro;
    e.macroMode = 2;
    copyToField(e.macroName, "Combo");
    e.eventCount = 2;
    e.events[1] = {4, 1, 30};
    copyToField(e.programPath, "/usr/bin/true");
    f.choose(20, 1022); // Multimedia: Play/Pause
    EXPECT_EQ(e.assignType, 33);
    EXPECT_EQ(fieldText(e.macroName), "");
    EXPECT_EQ(e.eventCount, 0);
    EXPECT_EQ(e.events[1].keyCode, 0);
    EXPECT_EQ(e.macroMode, 2);
    EXPECT_EQ(fieldText(e.programPath), "/usr/bin/true");
    EXPECT_EQ(f.context.editedSettings().keyChanged[0][20], 1);
    EXPECT_EQ(f.page->keyButton(20)->toolTip(), QStringLiteral("Play/Pause"));

    // Back to standard: type 48, no tooltip, the standard look, and the mark.
    f.context.editedSettings().keyChanged[0][20] = 0;
    f.choose(20, KeyFunctionTable::kStandard);
    EXPECT_EQ(e.assignType, kAssignStandard);
    EXPECT_TRUE(f.page->keyButton(20)->toolTip().isEmpty());
    EXPECT_FALSE(f.looksAssigned(20));
    EXPECT_EQ(f.context.editedSettings().keyChanged[0][20], 1);
    // The menu's entry was copied for the macro manager before anything changed.
    EXPECT_EQ(f.context.keyEntryScratch().assignType, 33);

    // A dismissed menu changes nothing.
    f.context.editedSettings().keyChanged[0][20] = 0;
    f.choose(20, 0);
    EXPECT_EQ(f.context.editedSettings().keyChanged[0][20], 0);
}

TEST(KeyAssignmentPage, TheEnterKeyStandsForPosition43) {
    PageFixture f;
    EXPECT_FALSE(f.page->keyButton(KeyAssignmentPage::kEnterPosition)->isVisible());
    EXPECT_FALSE(f.page->keyButton(KeyAssignmentPage::kDisabledPosition)->isEnabled());
    // Our skin's position 43 is "[": the whole of its rectangle is the key.
    ShapedButton* key = f.page->enterKey();
    EXPECT_EQ(key->mask().boundingRect(), key->rect());
    f.context.menus().answerNext(1040); // Disable
    QTest::mouseClick(key, Qt::LeftButton, {}, QPoint(key->width() / 2, key->height() - 2));
    EXPECT_EQ(f.page->selectedKey(), KeyAssignmentPage::kEnterPosition);
    EXPECT_EQ(f.entry(43).assignType, 1);
    EXPECT_EQ(f.page->enterKey()->toolTip(), QStringLiteral("Disable"));
    EXPECT_TRUE(f.looksAssigned(43));
}

TEST(KeyAssignmentPage, ColourKeysShowAndPaintTheDiyColours) {
    PageFixture f;
    ProfileRecord& p = f.profile();
    p.LtSwitch = 53; // DIY 3: index 2
    p.DIYColor[2][0] = 0x00FF00;
    p.DIYColor[2][1] = 0x0000FF;
    p.CustomColor[2][10] = 0x123456;
    p.DIYColorOption[2] = 0;
    f.page->setKeyboardLook(KeyAssignmentPage::Look::Lighting);
    EXPECT_FALSE(f.page->keyButton(10)->isVisible());
    ASSERT_TRUE(f.page->colourKey(10)->isVisible());
    EXPECT_EQ(f.page->colourKey(10)->colour(), 0x123456u);

    f.page->setBrushColour(0x00FF00);
    QTest::mouseClick(f.page->colourKey(10), Qt::LeftButton);
    EXPECT_EQ(p.CustomColor[2][10], 0x00FF00);
    EXPECT_EQ(f.page->colourKey(10)->colour(), 0x00FF00u);

    // All keys in one colour; another effect shows its preview on them; key
    // mode brings the keys back.
    p.DIYColorOption[2] = 1;
    f.page->setKeyboardLook(KeyAssignmentPage::Look::Lighting);
    EXPECT_EQ(f.page->colourKey(77)->colour(), 0x0000FFu);
    QTest::mouseClick(f.page->colourKey(10), Qt::LeftButton);
    EXPECT_EQ(f.page->colourKey(10)->colour(), 0x0000FFu);
    p.LtSwitch = 3;
    f.page->setKeyboardLook(KeyAssignmentPage::Look::Lighting);
    EXPECT_TRUE(f.page->colourKey(10)->isVisible());
    EXPECT_FALSE(f.page->colourKey(10)->pressPaints());
    EXPECT_FALSE(f.page->keyButton(10)->isVisible());
    f.page->setKeyboardLook(KeyAssignmentPage::Look::Keys);
    EXPECT_TRUE(f.page->keyButton(10)->isVisible());
    EXPECT_TRUE(f.page->enterKey()->isVisible());
}

TEST(KeyAssignmentPage, ColourKeysPreviewTheEffectAsTheRendererDrawsIt) {
    PageFixture f;
    vantrel::test::FakeClock clock;
    f.page->setPreviewClock(clock);
    ProfileRecord& p = f.profile();
    p.LtSwitch = 0;
    p.Brightness[0] = 3;
    const QRect key = f.page->colourKey(60)->geometry();
    const QPoint middle(key.width() / 2, key.height() / 2);
    const QColor cap = f.page->grab(key).toImage().pixelColor(middle);
    f.page->setKeyboardLook(KeyAssignmentPage::Look::Lighting);
    EXPECT_TRUE(f.page->previewRunning());
    for (int k : {0, 43, 60})
        EXPECT_EQ(f.page->colourKey(k)->colour(), 0x00004Du) << k; // (255*3+5)/10 = 77
    // The picture shows the colour over the key cap, half-way.
    const QColor shown = f.page->grab(key).toImage().pixelColor(middle);
    EXPECT_NEAR(shown.red(), (cap.red() + 77) / 2, 2);
    EXPECT_NEAR(shown.green(), cap.green() / 2, 2);

    // A moving effect follows the clock and each change of the settings.
    p.LtSwitch = 2;
    EffectRenderer renderer;
    for (uint32_t ms : {100000u, 100400u}) {
        clock.now = ms;
        f.page->showPreviewFrame();
        renderer.setProfile(p);
        const EffectRenderer::Frame frame = renderer.render(ms);
        for (int k : {0, 30, 60, 100})
            EXPECT_EQ(f.page->colourKey(k)->colour(), frame[size_t(k)]) << k << " at " << ms;
    }
    int lit = 0;
    while (f.page->colourKey(lit)->colour() == 0)
        ++lit;
    p.Color[2][0] = 0x00FF00;
    f.page->showPreviewFrame();
    EXPECT_EQ(f.page->colourKey(lit)->colour() & 0xFF, 0u);
    EXPECT_NE(f.page->colourKey(lit)->colour(), 0u);

    // A click plays a key press for an effect that reacts to keys.
    p.LtSwitch = 4;
    f.page->showPreviewFrame();
    EXPECT_EQ(f.page->colourKey(30)->colour(), 0u);
    QTest::mouseClick(f.page->colourKey(30), Qt::LeftButton);
    EXPECT_NE(f.page->colourKey(30)->colour(), 0u);
    EXPECT_EQ(p.CustomColor[0][30], 0); // nothing painted

    // Only the lighting look on a page that shows animates.
    f.page->hide();
    EXPECT_FALSE(f.page->previewRunning());
    f.page->show();
    EXPECT_TRUE(f.page->previewRunning());
    f.page->setKeyboardLook(KeyAssignmentPage::Look::Keys);
    EXPECT_FALSE(f.page->previewRunning());
}

TEST(KeyAssignmentPage, DialogCommandsChangeAndMarkTheKeyOnlyOnOk) {
    PageFixture f;
    const auto answer = [&](const char* button, const char* path) {
        f.context.dialogs().answerNext([=](QDialog& d) {
            d.show();
            d.findChild<QLineEdit*>(QStringLiteral("pathBox"))->setText(QString::fromLatin1(path));
            QTest::mouseClick(d.findChild<SkinButton*>(QString::fromLatin1(button)),
                              Qt::LeftButton);
            return d.result();
        });
    };
    answer("cancelButton", "/usr/bin/true");
    f.choose(30, KeyFunctionTable::kLaunchProgram);
    EXPECT_EQ(f.entry(30).assignType, kAssignStandard);
    EXPECT_EQ(f.context.editedSettings().keyChanged[0][30], 0);

    answer("okButton", "/opt/game/run.sh");
    f.choose(30, KeyFunctionTable::kLaunchProgram);
    EXPECT_EQ(f.entry(30).assignType, kAssignLaunch);
    EXPECT_EQ(f.context.editedSettings().keyChanged[0][30], 1);
    EXPECT_EQ(f.page->keyButton(30)->toolTip(), QStringLiteral("run.sh"));
}

TEST(KeyAssignmentPage, TheMacroManagerCommandRefreshesMacroKeysOnlyOnOk) {
    for (const bool ok : {false, true}) {
        PageFixture f;
        MacroRecord gone{};
        copyToField(gone.name, "Gone");
        gone.eventCount = 1;
        gone.events[0] = {4, kKeyPress, 0};
        f.context.macroStore().appendMacro(gone);
        f.context.macroStore().saveMacroStore();
        MacroStore::copyMacroToKey(gone, f.entry(30));
        f.entry(30).assignType = kAssignMacro;
        f.page->refreshKeyLabels();
        const QString macroTip = f.page->keyButton(30)->toolTip();

        f.context.menus().answerNext([](SkinMenu& menu) {
            EXPECT_TRUE(menu.action(KeyFunctionTable::kMacroManager)->isEnabled());
            return KeyFunctionTable::kMacroManager;
        });
        // The manager opens on the key's macro and deletes it.
        f.context.dialogs().answerNext([&](QDialog& d) {
            d.show();
            f.context.dialogs().answerNext(QDialog::Accepted);
            QTest::mouseClick(d.findChild<SkinButton*>(QStringLiteral("deleteButton")),
                              Qt::LeftButton);
            QTest::mouseClick(
                d.findChild<SkinButton*>(QString::fromLatin1(ok ? "okButton" : "cancelButton")),
                Qt::LeftButton);
            return d.result();
        });
        f.page->selectKey(30);
        EXPECT_EQ(f.context.macroStore().count(), ok ? 0 : 1);
        EXPECT_EQ(f.entry(30).assignType, ok ? kAssignStandard : kAssignMacro);
        EXPECT_EQ(f.context.editedSettings().keyChanged[0][30], ok ? 1 : 0);
        EXPECT_EQ(f.page->keyButton(30)->toolTip() == macroTip, !ok);
    }
}
