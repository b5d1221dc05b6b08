// Recording a macro from keys typed on a real X server.
#include "macro/KeyCapture.h"
#include "macro/MacroManagerDialog.h"
#include "skin/AppContext.h"
#include "skin/SkinButton.h"
#include "tests/TempProgramFolder.h"
#include "tests/XServer.h"
#include "tests/macro/MacroTestData.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

TEST(MacroManagerOnX, RecordsTypedKeysAndLetsTheKeyboardGoOnStop) {
    if (!XServer::instance().running())
        GTEST_SKIP() << XServer::instance().whyNot();
    if (!installed("xdotool"))
        GTEST_SKIP() << "xdotool is not installed (scripts/deps.sh installs it)";
    TempProgramFolder folder;
    AppContext context(folder.folder(), std::nullopt);
    context.macroStore().appendMacro(makeMacro("Combo", {}));
    context.macroStore().saveMacroStore();
    context.dialogs().answerNext([&](QDialog& d) {
        d.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
        QTest::mouseClick(d.findChild<SkinButton*>(QStringLiteral("recordButton")), Qt::LeftButton);
        KeyCapture& capture = context.keyCapture();
        EXPECT_TRUE(QTest::qWaitFor([&] { return capture.grabbed(); }, 5000));
        QSignalSpy reports(&capture, &KeyCapture::keyReported);
        // Escape and Enter are keys of the macro like any other; the window stays.
        EXPECT_TRUE(runProgram(QStringLiteral("xdotool"),
                               {QStringLiteral("key"), QStringLiteral("a"), QStringLiteral("b"),
                                QStringLiteral("Escape"), QStringLiteral("KP_Enter")}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return reports.count() >= 8; }, 5000));
        QTest::qWait(50);
        EXPECT_TRUE(d.isVisible());
        QTest::mouseClick(d.findChild<SkinButton*>(QStringLiteral("recordButton")), Qt::LeftButton);
        EXPECT_FALSE(capture.active());
        QTest::mouseClick(d.findChild<SkinButton*>(QStringLiteral("okButton")), Qt::LeftButton);
        return d.result();
    });
    EXPECT_TRUE(MacroManagerDialog::manage(context, nullptr));
    const MacroRecord& macro = *context.macroStore().macroAt(0);
    ASSERT_EQ(macro.eventCount, 8);
    const uint8_t codes[] = {4, 4, 5, 5, 41, 41, 88, 88};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(macro.events[i].keyCode, codes[i]) << i;
        EXPECT_EQ(macro.events[i].action, i % 2 == 0 ? kKeyPress : kKeyRelease) << i;
        EXPECT_EQ(macro.events[i].delayMs, 0) << i;
    }
}
