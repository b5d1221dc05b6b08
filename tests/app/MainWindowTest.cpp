#include "app/PlatformChoice.h"
#include "keys/KeyAssignmentPage.h"
#include "lighting/LightingPage.h"
#include "link/LinkMessage.h"
#include "link/RobustMutex.h"
#include "monitor/service/MonitorCommands.h"
#include "settings/IniFile.h"
#include "settings/ProfileDefaults.h"
#include "settings/ProfileFile.h"
#include "settings/TextField.h"
#include "skin/SkinButton.h"
#include "skin/SkinMenu.h"
#include "tests/UiWait.h"
#include "tests/app/AppFixture.h"
#include "tests/link/RunningMonitor.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace std::chrono_literals;
using vantrel::test::AppFixture;
using vantrel::test::readFile;
using vantrel::test::RecordingLink;
using vantrel::test::RunningMonitor;
using vantrel::test::settle;
using vantrel::test::writeFile;

namespace {

void click(SkinButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

int32_t storedCurrentProfile(const AppFixture& f) {
    return IniFile(f.folder.file("config.ini")).readInt("Setting", "CurrentProfile", -1);
}

SkinButton* button(const MainWindow& w, const char* role) {
    return w.findChild<SkinButton*>(QString::fromLatin1(role));
}

} // namespace

TEST(MainWindow, BuiltFromItsSkin) {
    AppFixture f;
    MainWindow& w = f.start();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Vantrel Gaming Keyboard"));
    EXPECT_EQ(w.size(), QSize(1260, 596));
    EXPECT_FALSE(w.mask().isEmpty());
    EXPECT_FALSE(w.mask().contains(QPoint(0, 0))); // rounded corner
    // The 21 buttons stand at their keys; keys 4, 5, 15, 23 and 24 are not used.
    for (int key : {1, 2, 3, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 21, 22, 25, 26})
        ASSERT_NE(w.control(key), nullptr) << key;
    for (int key : {4, 5, 15, 23, 24})
        EXPECT_EQ(w.control(key), nullptr) << key;
    EXPECT_EQ(w.findChildren<SkinButton*>(Qt::FindDirectChildrenOnly).size(), 21);
    EXPECT_EQ(button(w, "applyButton"), w.control(MainWindow::ApplyKey));
    EXPECT_EQ(button(w, "applyButton")->geometry(), QRect(1018, 540, 100, 36));

    const SkinDescription& skin = w.description();
    const ControlPlacement keys = skin.placement("PAGEPOSITION", "1");
    const ControlPlacement lights = skin.placement("PAGEPOSITION", "2");
    EXPECT_EQ(w.keyPage().geometry(), QRect(keys.left, keys.top, keys.width(), keys.height()));
    ASSERT_NE(w.visibleLightingPage(), nullptr);
    EXPECT_EQ(w.visibleLightingPage()->geometry(),
              QRect(lights.left, lights.top, lights.width(), lights.height()));

    // Factory profiles: profile 1 selected, effect 6 shown and named.
    EXPECT_TRUE(button(w, "profileButton0")->isChecked());
    EXPECT_FALSE(button(w, "profileButton1")->isChecked());
    EXPECT_EQ(w.visibleLightingPage()->effect(), 6);
    EXPECT_EQ(button(w, "effectButton")->caption(), QStringLiteral("Spectrum"));
    EXPECT_EQ(w.versionText(), QStringLiteral("Driver V1.02-Firmware V1.00"));
    // Each effect has its page, one visible at a time, always in area 2.
    for (int32_t effect : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 51, 52, 53, 54, 55}) {
        w.showEffectPage(effect);
        EXPECT_EQ(w.visibleLightingPage()->effect(), effect);
        EXPECT_EQ(w.visibleLightingPage()->geometry().topLeft(), QPoint(lights.left, lights.top));
    }
    int visiblePages = 0;
    for (auto* page : w.findChildren<LightingPage*>())
        visiblePages += page->isVisible();
    EXPECT_EQ(w.findChildren<LightingPage*>().size(), 18);
    EXPECT_EQ(visiblePages, 1);
}

TEST(MainWindow, CloseDropsEditsAndApplyWritesThem) {
    AppFixture f;
    MainWindow& w = f.start();
    click(button(w, "profileButton2"));
    EXPECT_EQ(f.context->editedSettings().CurrentProfile, 2);
    EXPECT_TRUE(button(w, "profileButton2")->isChecked());
    EXPECT_FALSE(button(w, "profileButton0")->isChecked());
    click(button(w, "closeButton"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(storedCurrentProfile(f), -1);

    MainWindow& again = f.start();
    EXPECT_EQ(f.context->editedSettings().CurrentProfile, 0);
    click(button(again, "profileButton2"));
    click(button(again, "applyButton"));
    EXPECT_EQ(storedCurrentProfile(f), 2);
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(f.link->codes, std::vector<uint32_t>{kApplyCode});
}

TEST(MainWindow, OkWithoutMonitorAppliesRestoresAndCloses) {
    AppFixture f;
    MainWindow& w = f.start();
    click(button(w, "profileButton1"));
    click(button(w, "okButton"));
    EXPECT_FALSE(w.busy());
    EXPECT_TRUE(button(w, "okButton")->isEnabled());
    EXPECT_TRUE(button(w, "applyButton")->isEnabled());
    EXPECT_EQ(storedCurrentProfile(f), 1);
    EXPECT_TRUE(settle([&] { return !w.isVisible(); }));
}

TEST(MainWindow, ApplyWithMonitorStaysBusyUntilItAnswers) {
    AppFixture f;
    RunningMonitor monitor(f.runtime, f.folder.folder(), 400ms);
    ASSERT_TRUE(monitor.published);
    MainWindow& w = f.start();
    ASSERT_TRUE(w.link().linkOpen());

    click(button(w, "applyButton"));
    EXPECT_TRUE(w.busy());
    EXPECT_FALSE(button(w, "okButton")->isEnabled());
    EXPECT_FALSE(button(w, "applyButton")->isEnabled());
    EXPECT_EQ(w.cursor().shape(), Qt::WaitCursor);
    click(button(w, "profileButton3")); // ignored while busy
    EXPECT_EQ(f.context->editedSettings().CurrentProfile, 0);
    // Nor does anything light up under the pointer.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(button(w, "profileButton2"), &enter);
    EXPECT_FALSE(button(w, "profileButton2")->hover());

    EXPECT_TRUE(settle([&] { return !w.busy(); }));
    EXPECT_TRUE(button(w, "applyButton")->isEnabled());
    EXPECT_NE(w.cursor().shape(), Qt::WaitCursor);
    click(button(w, "profileButton3"));
    EXPECT_EQ(f.context->editedSettings().CurrentProfile, 3);
}

TEST(MainWindow, ABusyWindowStillCloses) {
    AppFixture f;
    RunningMonitor monitor(f.runtime, f.folder.folder(), 5000ms);
    ASSERT_TRUE(monitor.published);
    MainWindow& w = f.start();
    click(button(w, "applyButton"));
    ASSERT_TRUE(w.busy());
    click(button(w, "cancelButton"));
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.busy());
}

TEST(MainWindow, LoadingAProfileFileMarksItButAppliesNothing) {
    AppFixture f;
    MainWindow& w = f.start();
    auto stored = std::make_unique<ProfileRecord>();
    resetProfile(*stored, 0, LanguageStrings());
    copyToField(stored->ProFileName, "Loaded");
    stored->LtSwitch = 3;
    ASSERT_TRUE(writeProfile(f.folder.file("mine.gkp"), *stored));

    click(button(w, "profileButton1"));
    f.chooseFile(f.folder.file("mine.gkp"), [&](const FileRequest& d) {
        EXPECT_EQ(d.mode, FileRequest::Mode::Open);
        EXPECT_EQ(d.defaultSuffix, QStringLiteral("gkp"));
        EXPECT_TRUE(d.filter.contains(QStringLiteral("*.gkp")));
        EXPECT_EQ(d.folder, QString::fromStdString(f.folder.folder() + "config"));
    });
    click(button(w, "loadProfileButton"));

    const SharedBlock& edited = f.context->editedSettings();
    EXPECT_EQ(fieldText(edited.profiles[1].ProFileName), "Loaded");
    EXPECT_EQ(w.visibleLightingPage()->effect(), 3);
    for (int k = 0; k < kKeyPositions; ++k)
        EXPECT_EQ(edited.keyChanged[1][k], 1);
    EXPECT_EQ(edited.flagsA[1] + edited.flagsC[1] + edited.flagsD[1], 3);
    EXPECT_EQ(edited.flagB, 0);
    EXPECT_FALSE(fileExists(f.folder.file("config/Default1.gkp")));

    click(button(w, "applyButton"));
    auto applied = std::make_unique<ProfileRecord>();
    readProfile(f.folder.file("config/Default1.gkp"), *applied);
    EXPECT_EQ(fieldText(applied->ProFileName), "Loaded");

    // A file chosen and gone by then loads nothing.
    f.chooseFile(f.folder.file("gone.gkp"));
    click(button(w, "loadProfileButton"));
    EXPECT_EQ(fieldText(f.context->editedSettings().profiles[1].ProFileName), "Loaded");
}

TEST(MainWindow, SavingOverAFileLeavesOnlyTheProfile) {
    AppFixture f;
    MainWindow& w = f.start();
    const std::string path = f.folder.file("out.gkp");
    writeFile(path, "[Setting]\r\nForeign=1\r\n[Other]\r\nx=1\r\n");
    f.chooseFile(path, [](const FileRequest& d) {
        EXPECT_EQ(d.mode, FileRequest::Mode::Save);
        EXPECT_EQ(d.defaultSuffix, QStringLiteral("gkp"));
    });
    click(button(w, "saveProfileButton"));
    const std::string text = readFile(path);
    EXPECT_EQ(text.find("Foreign"), std::string::npos);
    EXPECT_EQ(text.find("[Other]"), std::string::npos);
    EXPECT_EQ(IniFile(path).readText("Setting", "ProFileName", ""), "Profile #1");
    // The user's file is shared with nobody: no lock file is left beside it.
    EXPECT_FALSE(std::filesystem::exists(path + ".lock"));
}

TEST(MainWindow, ResetsAskFirstAndApplyWithCodeThree) {
    AppFixture f;
    RunningMonitor monitor(f.runtime, f.folder.folder());
    ASSERT_TRUE(monitor.published);
    MainWindow& w = f.start();
    SharedBlock& edited = f.context->editedSettings();
    click(button(w, "profileButton2"));
    copyToField(edited.profiles[2].ProFileName, "Mine");
    edited.profiles[2].Brightness[0] = 2;

    f.context->dialogs().answerNext(QDialog::Rejected);
    click(button(w, "resetCurrentButton"));
    EXPECT_TRUE(f.link->codes.empty());
    EXPECT_EQ(fieldText(edited.profiles[2].ProFileName), "Mine");

    f.context->dialogs().answerNext(QDialog::Accepted);
    click(button(w, "resetCurrentButton"));
    EXPECT_EQ(f.link->codes, std::vector<uint32_t>{kApplyAfterReset});
    EXPECT_EQ(fieldText(edited.profiles[2].ProFileName), "Profile #3");
    std::string flags;
    ASSERT_TRUE(MonitorCommands::flags(f.runtime, flags));
    EXPECT_NE(flags.find("profile 2: keys 0-127 flagsA 1 flagsC 1 flagsD 1 flagsE 0 flagsF 1 "
                         "flagsG 1"),
              std::string::npos)
        << flags;
    EXPECT_NE(flags.find("profile 1: keys none"), std::string::npos);
    EXPECT_NE(flags.find("flagB 1"), std::string::npos);
    auto file = std::make_unique<ProfileRecord>();
    readProfile(f.folder.file("config/Default2.gkp"), *file);
    EXPECT_EQ(file->Brightness[0], 10);
    ASSERT_TRUE(settle([&] { return !w.busy(); }));

    copyToField(edited.profiles[4].ProFileName, "Other");
    f.context->dialogs().answerNext(QDialog::Accepted);
    click(button(w, "resetAllButton"));
    EXPECT_EQ(f.link->codes, (std::vector<uint32_t>{kApplyAfterReset, kApplyAfterReset}));
    EXPECT_EQ(edited.CurrentProfile, 0);
    EXPECT_EQ(fieldText(edited.profiles[4].ProFileName), "Profile #5");
    ASSERT_TRUE(MonitorCommands::flags(f.runtime, flags));
    EXPECT_NE(flags.find("profile 4: keys 0-127 flagsA 1 flagsC 1 flagsD 1 flagsE 0 flagsF 1 "
                         "flagsG 1"),
              std::string::npos);
    EXPECT_EQ(storedCurrentProfile(f), 0);
}

TEST(MainWindow, RefreshShowsKeysAndTheEffectBringsBackTheSwitch) {
    AppFixture f;
    MainWindow& w = f.start();
    click(button(w, "viewSwitch"));
    EXPECT_TRUE(button(w, "viewSwitch")->isChecked());
    EXPECT_EQ(w.keyPage().keyboardLook(), KeyAssignmentPage::Look::Lighting);

    click(button(w, "profileButton1")); // a refresh
    EXPECT_TRUE(button(w, "viewSwitch")->isChecked());
    EXPECT_EQ(w.keyPage().keyboardLook(), KeyAssignmentPage::Look::Keys);

    w.setEffect(53);
    EXPECT_EQ(w.keyPage().keyboardLook(), KeyAssignmentPage::Look::Lighting);
    EXPECT_EQ(w.visibleLightingPage()->effect(), 53);
    EXPECT_EQ(button(w, "effectButton")->caption(), QStringLiteral("DIY 3"));
    EXPECT_EQ(f.context->editedSettings().profiles[1].LtSwitch, 53);

    click(button(w, "viewSwitch"));
    EXPECT_EQ(w.keyPage().keyboardLook(), KeyAssignmentPage::Look::Keys);
    w.setEffect(99); // no such effect: the first page and an empty name
    EXPECT_EQ(w.visibleLightingPage()->effect(), 0);
    EXPECT_EQ(button(w, "effectButton")->caption(), QString());
}

TEST(MainWindow, MonitorMessagesReloadTheWindow) {
    AppFixture f;
    RunningMonitor monitor(f.runtime, f.folder.folder());
    ASSERT_TRUE(monitor.published);
    MainWindow& w = f.start();

    ASSERT_TRUE(MonitorCommands::switchProfile(f.runtime, 3, 10));
    EXPECT_TRUE(settle([&] { return button(w, "profileButton3")->isChecked(); }));
    EXPECT_EQ(w.visibleLightingPage()->effect(), 10);

    ASSERT_TRUE(MonitorCommands::firmware(f.runtime, f.folder.folder(), 123));
    EXPECT_TRUE(settle([&] { return w.versionText().endsWith(QStringLiteral("V1.23")); }));
}

TEST(MainWindow, AShortBlockIsReportedInAMessageBox) {
    AppFixture f;
    ASSERT_TRUE(RobustMutex().create(f.runtime + "Vantrel_RGB_Gaming_Keyboard_Mutex_Object"));
    writeFile(f.runtime + "Vantrel_RGB_Gaming_Keyboard_Share_Data", std::string(100, '\0'));
    QString shown;
    // The box comes during start-up, so its answer is given before the window exists.
    AppContext context(f.folder.folder(), f.runtime);
    context.dialogs().answerNext([&](QDialog& d) {
        shown = static_cast<QMessageBox&>(d).text();
        return static_cast<int>(QMessageBox::Ok);
    });
    RecordingLink link(f.runtime);
    MainWindow w(context, link);
    EXPECT_EQ(shown, QStringLiteral("Could not map view of file."));
    EXPECT_FALSE(w.link().linkOpen());
}

TEST(MainWindow, ManualAndWebLink) {
    AppFixture f;
    MainWindow& w = f.start();
    click(button(w, "manualButton")); // no manual beside the program: nothing happens
    EXPECT_TRUE(f.opened.empty());
    writeFile(f.folder.file("User Manual.pdf"), "%PDF-1.4");
    click(button(w, "manualButton"));
    click(button(w, "webLinkButton"));
    ASSERT_EQ(f.opened.size(), 2u);
    EXPECT_EQ(f.opened[0].toLocalFile().toStdString(), f.folder.file("User Manual.pdf"));
    EXPECT_EQ(f.opened[1], QUrl(QString::fromLatin1(MainWindow::kWebAddress)));
}

TEST(MainWindow, EffectMenuOffersSeventeenEffects) {
    AppFixture f;
    MainWindow& w = f.start();
    click(button(w, "viewSwitch")); // lighting view
    click(button(w, "profileButton1"));
    QStringList labels;
    f.context->menus().answerNext([&](SkinMenu& menu) {
        for (QAction* action : menu.menu().actions())
            labels << action->text();
        EXPECT_EQ(menu.action(1013), nullptr); // effect 12 is not offered
        return 1014;
    });
    click(button(w, "effectButton"));
    ASSERT_EQ(labels.size(), 17);
    EXPECT_EQ(labels.constFirst(), QStringLiteral("Static"));
    EXPECT_EQ(labels.at(11), QStringLiteral("Fireworks"));
    EXPECT_EQ(labels.at(12), QStringLiteral("DIY 1"));
    EXPECT_EQ(f.context->editedSettings().profiles[1].LtSwitch, 51);
    EXPECT_EQ(w.visibleLightingPage()->effect(), 51);
    EXPECT_EQ(button(w, "effectButton")->caption(), QStringLiteral("DIY 1"));
    EXPECT_EQ(w.keyPage().keyboardLook(), KeyAssignmentPage::Look::Lighting);
    EXPECT_FALSE(fileExists(f.folder.file("config/Default1.gkp"))); // nothing applied

    f.context->menus().answerNext(0); // closed without a choice
    click(button(w, "effectButton"));
    EXPECT_EQ(f.context->editedSettings().profiles[1].LtSwitch, 51);
}

TEST(MainWindow, ADamagedPictureStillGivesAWindowThatCloses) {
    AppFixture f;
    // A skins folder of its own, with the main window's picture cut short.
    const std::string skins = f.folder.file("skins");
    std::filesystem::remove(skins);
    std::filesystem::copy(VANTREL_PROGRAM_DIR "/skins", skins);
    std::filesystem::resize_file(skins + "/config_normal.ppm", 100);

    MainWindow& w = f.start();
    EXPECT_TRUE(w.isVisible());
    EXPECT_GE(w.width(), 1242);
    EXPECT_GE(w.height(), 576);
    EXPECT_TRUE(
        w.damageNotice().endsWith(QStringLiteral("skins/config_normal.ppm cannot be read.")));
    click(button(w, "closeButton"));
    EXPECT_FALSE(w.isVisible());
}

TEST(MainWindow, TheMacroManagerButtonKeepsANewMacroOnlyOnOk) {
    for (const bool ok : {false, true}) {
        AppFixture f;
        MainWindow& w = f.start();
        ASSERT_TRUE(button(w, "macroManagerButton")->isEnabled());
        f.context->dialogs().answerNext([ok](QDialog& d) {
            d.show();
            click(d.findChild<SkinButton*>(QStringLiteral("newButton")));
            QLineEdit* editor = d.findChild<QLineEdit*>(QStringLiteral("rowEditor"));
            EXPECT_NE(editor, nullptr);
            if (editor) {
                QTest::keyClicks(editor, QStringLiteral("Combo"));
                QTest::keyClick(editor, Qt::Key_Return);
            }
            vantrel::test::handlePosted();
            click(d.findChild<SkinButton*>(QString::fromLatin1(ok ? "okButton" : "exitButton")));
            return d.result();
        });
        click(button(w, "macroManagerButton"));
        EXPECT_EQ(f.context->macroStore().count(), ok ? 1 : 0);
        IniFile file(f.context->macroStore().filePath());
        EXPECT_EQ(file.readInt("Macros", "number", -1), ok ? 1 : 0);
    }
}

TEST(PlatformChoice, XcbWhereAnXDisplayIsThereUnlessTheUserChose) {
    EXPECT_TRUE(PlatformChoice::asksForXcb(nullptr, ":0"));
    EXPECT_TRUE(PlatformChoice::asksForXcb("", ":1"));
    EXPECT_FALSE(PlatformChoice::asksForXcb("wayland", ":0"));
    EXPECT_FALSE(PlatformChoice::asksForXcb(nullptr, ""));
}
