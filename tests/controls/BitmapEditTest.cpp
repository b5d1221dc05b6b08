#include "skin/BitmapEdit.h"
#include "tests/controls/ControlsFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFontMetricsF>
#include <QPushButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

// An edit with the focus on a window that also holds a second edit, so that
// focus can move away.
struct EditOnWindow {
    explicit EditOnWindow(bool digitsOnly, bool allowSign = false) {
        window.resize(200, 60);
        edit = new BitmapEdit(&window);
        edit->setGeometry(10, 10, 120, 20);
        edit->setDigitsOnly(digitsOnly);
        edit->setAllowSign(allowSign);
        other = new BitmapEdit(&window);
        other->setGeometry(10, 35, 120, 20);
        showWindow(window);
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        EXPECT_TRUE(edit->hasFocus());
    }

    QWidget window;
    BitmapEdit* edit = nullptr;
    BitmapEdit* other = nullptr;
};

void paste(BitmapEdit& edit, const QString& text) {
    QApplication::clipboard()->setText(text);
    edit.paste();
}

} // namespace

TEST(BitmapEdit, DigitsOnlyTypingDropsOtherKeysWithoutANotice) {
    EditOnWindow w(true);
    QSignalSpy notices(w.edit, &BitmapEdit::killFocus);
    QTest::keyClicks(w.edit, QStringLiteral("12a34"));
    EXPECT_EQ(w.edit->text(), QStringLiteral("1234"));
    EXPECT_EQ(notices.count(), 4);

    // Left and Right move the caret; Up, Down and Tab are dropped.
    QTest::keyClick(w.edit, Qt::Key_Left);
    QTest::keyClick(w.edit, Qt::Key_9);
    EXPECT_EQ(w.edit->text(), QStringLiteral("12394"));
    QTest::keyClick(w.edit, Qt::Key_Up);
    QTest::keyClick(w.edit, Qt::Key_Down);
    QTest::keyClick(w.edit, Qt::Key_Tab);
    EXPECT_TRUE(w.edit->hasFocus());
    QTest::keyClick(w.edit, Qt::Key_Right);
    QTest::keyClick(w.edit, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(w.edit->text(), QStringLiteral("123945"));
    QTest::keyClick(w.edit, Qt::Key_Home);
    QTest::keyClick(w.edit, Qt::Key_Delete);
    QTest::keyClick(w.edit, Qt::Key_End);
    QTest::keyClick(w.edit, Qt::Key_Backspace);
    EXPECT_EQ(w.edit->text(), QStringLiteral("2394"));
    EXPECT_EQ(notices.count(), 8);
}

TEST(BitmapEdit, PastedTextIsCutBeforeItsFirstDisallowedCharacterWithTwoNotices) {
    EditOnWindow w(true);
    QSignalSpy notices(w.edit, &BitmapEdit::killFocus);
    paste(*w.edit, QStringLiteral("12a34"));
    EXPECT_EQ(w.edit->text(), QStringLiteral("12"));
    EXPECT_EQ(notices.count(), 2);

    w.edit->clear();
    notices.clear();
    paste(*w.edit, QStringLiteral("-5"));
    EXPECT_EQ(w.edit->text(), QString());
    // One notice for the pasted text, one for the emptied one.
    EXPECT_EQ(notices.count(), 2);
}

TEST(BitmapEdit, SignsStayWhenAllowed) {
    EditOnWindow w(true, true);
    QSignalSpy notices(w.edit, &BitmapEdit::killFocus);
    paste(*w.edit, QStringLiteral("-5"));
    EXPECT_EQ(w.edit->text(), QStringLiteral("-5"));
    EXPECT_EQ(notices.count(), 1);
    // The main block's minus key passes; the keypad's does not.
    QTest::keyClick(w.edit, Qt::Key_Minus, Qt::KeypadModifier);
    QTest::keyClick(w.edit, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(w.edit->text(), QStringLiteral("-5"));
    QTest::keyClick(w.edit, Qt::Key_Minus);
    EXPECT_EQ(w.edit->text(), QStringLiteral("-5-"));
    EXPECT_EQ(notices.count(), 2);
}

TEST(BitmapEdit, ATypedSignWithoutAllowSignIsCutWithTwoNotices) {
    EditOnWindow w(true);
    QTest::keyClicks(w.edit, QStringLiteral("42"));
    QSignalSpy notices(w.edit, &BitmapEdit::killFocus);
    QTest::keyClick(w.edit, Qt::Key_Minus);
    EXPECT_EQ(w.edit->text(), QStringLiteral("42"));
    EXPECT_EQ(notices.count(), 2);
}

TEST(BitmapEdit, WithoutDigitsOnlyEverythingPassesWithOneNoticePerChange) {
    EditOnWindow w(false);
    QSignalSpy notices(w.edit, &BitmapEdit::killFocus);
    QTest::keyClicks(w.edit, QStringLiteral("a-1"));
    paste(*w.edit, QStringLiteral("x y"));
    EXPECT_EQ(w.edit->text(), QStringLiteral("a-1x y"));
    EXPECT_EQ(notices.count(), 4);
    // Tab moves the focus on, and the focus loss is one more notice.
    QTest::keyClick(w.edit, Qt::Key_Tab);
    EXPECT_TRUE(w.other->hasFocus());
    EXPECT_EQ(notices.count(), 5);
}

TEST(BitmapEdit, LosingTheFocusGivesANotice) {
    EditOnWindow w(true);
    QSignalSpy notices(w.edit, &BitmapEdit::killFocus);
    w.other->setFocus();
    EXPECT_EQ(notices.count(), 1);
    w.other->setFocus();
    EXPECT_EQ(notices.count(), 1);
}

TEST(BitmapEdit, EnterReleasedIsNoticedAndNeverConfirmsTheDialog) {
    QDialog dialog;
    dialog.resize(200, 60);
    auto* edit = new BitmapEdit(&dialog);
    edit->setGeometry(10, 10, 120, 20);
    auto* okButton = new QPushButton(QStringLiteral("OK"), &dialog);
    okButton->setGeometry(140, 10, 50, 20);
    okButton->setDefault(true);
    QObject::connect(okButton, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    edit->setFocus();

    QSignalSpy entered(edit, &BitmapEdit::enterReleased);
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::keyPress(edit, Qt::Key_Return);
    EXPECT_EQ(entered.count(), 0);
    QTest::keyRelease(edit, Qt::Key_Return);
    EXPECT_EQ(entered.count(), 1);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(entered.count(), 2);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(BitmapEdit, DrawsDarkGreyArialOnWhite) {
    EditOnWindow w(false);
    // Six pixels per character on average, fourteen high.
    EXPECT_EQ(w.edit->font().pixelSize(), 14);
    EXPECT_NEAR(QFontMetricsF(w.edit->font()).averageCharWidth(), 6.0, 0.5);

    w.edit->setText(QStringLiteral("8888"));
    w.edit->clearFocus(); // no caret in the picture
    const QImage shown = grabbed(*w.edit);
    EXPECT_EQ(shown.pixel(shown.width() - 1, shown.height() - 1), qRgb(255, 255, 255));
    int darkest = 255;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            darkest = std::min(darkest, qGray(shown.pixel(x, y)));
    EXPECT_EQ(darkest, 0x24);

    w.edit->setColours(Qt::white, Qt::black);
    const QImage inverted = grabbed(*w.edit);
    EXPECT_EQ(inverted.pixel(inverted.width() - 1, inverted.height() - 1), qRgb(0, 0, 0));
}
