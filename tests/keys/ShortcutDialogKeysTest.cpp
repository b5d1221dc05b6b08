// The shortcut dialog catching keys typed on a real X server.
#include "keys/ShortcutDialog.h"
#include "macro/KeyCapture.h"
#include "skin/BitmapEdit.h"
#include "tests/KeyEntryFixture.h"
#include "tests/XServer.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

#define REQUIRE_X_WITH_XDOTOOL()                                                                   \
    if (!XServer::instance().running())                                                            \
        GTEST_SKIP() << XServer::instance().whyNot();                                              \
    if (!installed("xdotool"))                                                                     \
    GTEST_SKIP() << "xdotool is not installed (scripts/deps.sh installs it)"

// Waits until the dialog is on screen and holds the keyboard, types with
// xdotool, and waits for the reports of that many key events.
void type(AppContext& context, QDialog& dialog, const QStringList& xdotool, int events) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    KeyCapture& capture = context.keyCapture();
    ASSERT_TRUE(QTest::qWaitFor([&] { return capture.grabbed(); }, 5000));
    QSignalSpy reports(&capture, &KeyCapture::keyReported);
    ASSERT_TRUE(runProgram(QStringLiteral("xdotool"), xdotool));
    ASSERT_TRUE(QTest::qWaitFor([&] { return reports.count() >= events; }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(reports.count(), events);
}

} // namespace

TEST(ShortcutDialogOnX, TheLastKeyLetGoIsStored) {
    REQUIRE_X_WITH_XDOTOOL();
    struct Case {
        QStringList xdotool;
        int events;
        uint8_t key;
        const char* name;
    };
    const Case cases[] = {
        {{QStringLiteral("key"), QStringLiteral("F5")}, 2, 62, "F5"},
        // Combinations come from the toggles: the Ctrl let go last is the key.
        {{QStringLiteral("keydown"), QStringLiteral("Control_L"), QStringLiteral("keydown"),
          QStringLiteral("c"), QStringLiteral("keyup"), QStringLiteral("c"),
          QStringLiteral("keyup"), QStringLiteral("Control_L")},
         4,
         224,
         "Left Ctrl"},
        {{QStringLiteral("key"), QStringLiteral("KP_Enter")}, 2, 88, "(Enter)"},
        {{QStringLiteral("key"), QStringLiteral("Return")}, 2, 40, "Enter"},
        // Neither Enter nor Escape closes the dialog: both are keys like any other.
        {{QStringLiteral("key"), QStringLiteral("Escape")}, 2, 41, "Esc"},
    };
    for (const Case& c : cases) {
        KeyEntryFixture f;
        f.entry.shortcutInitKey = 0;
        f.entry.shortcutInitModifiers = 0;
        EXPECT_TRUE(f.run(&ShortcutDialog::edit, [&](QDialog& d) {
            type(f.context, d, c.xdotool, c.events);
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(d.findChild<BitmapEdit*>(QStringLiteral("keyBox"))->text(),
                      QString::fromLatin1(c.name));
            press(d, "okButton");
        }));
        EXPECT_EQ(f.entry.assignType, kAssignShortcut) << c.name;
        EXPECT_EQ(f.entry.eventCount, 1);
        EXPECT_EQ(f.entry.events[0].keyCode, c.key) << c.name;
        EXPECT_EQ(f.entry.events[0].action, 0);
        EXPECT_FALSE(f.context.keyCapture().active());
    }
}
