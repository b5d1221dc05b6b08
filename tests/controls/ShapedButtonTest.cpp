#include "skin/ShapedButton.h"
#include "skin/ProgramPictures.h"
#include "tests/controls/ControlsFixture.h"

#include <QMouseEvent>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

const QRect kKeyRect(20, 10, 63, 26);
const QPoint kCentre(31, 13);
const QPoint kCorner(0, 0); // inside the rectangle, outside the outline

// Counts the presses that reach the window itself.
struct PressCountingWindow final : QWidget {
    int presses = 0;
    void mousePressEvent(QMouseEvent* event) override {
        ++presses;
        QWidget::mousePressEvent(event);
    }
};

struct EnterKeyOnWindow {
    EnterKeyOnWindow() {
        window.resize(110, 50);
        key = new ShapedButton(QStringLiteral("Enter"), kKeyRect,
                               QString::fromLatin1(ProgramPictures::kEnterKeyMask), &window);
        key->setPicturesFromSkin(kKeyRect, statePictures(window.size()));
        showWindow(window);
    }
    // Window coordinates of a point of the key.
    static QPoint onWindow(QPoint keyPoint) { return kKeyRect.topLeft() + keyPoint; }

    PressCountingWindow window;
    ShapedButton* key = nullptr;
};

} // namespace

TEST(ShapedButton, TheEnterKeyOutlineIsTheRoundedMask) {
    EnterKeyOnWindow w;
    EXPECT_EQ(w.key->text(), QStringLiteral("Enter"));
    EXPECT_EQ(w.key->outline().boundingRect(), QRect(0, 0, 63, 26));
    EXPECT_EQ(w.key->mask(), w.key->outline());
    for (const QPoint corner : {QPoint(0, 0), QPoint(62, 0), QPoint(0, 25), QPoint(62, 25)})
        EXPECT_FALSE(w.key->outline().contains(corner)) << corner.x() << "," << corner.y();
    for (const QPoint inside : {kCentre, QPoint(0, 13), QPoint(62, 13), QPoint(2, 0)})
        EXPECT_TRUE(w.key->outline().contains(inside)) << inside.x() << "," << inside.y();
}

TEST(ShapedButton, AClickOutsideTheOutlineNeverReachesTheButton) {
    EnterKeyOnWindow w;
    QSignalSpy clicks(w.key, &ShapedButton::clicked);
    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCorner));
    QTest::mouseClick(&w.window, Qt::LeftButton, {}, EnterKeyOnWindow::onWindow(kCorner));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(w.window.presses, 1);

    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCentre));
    QTest::mouseClick(&w.window, Qt::LeftButton, {}, EnterKeyOnWindow::onWindow(kCentre));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(w.window.presses, 1);
}

TEST(ShapedButton, LitWhileHoveredPressedWhileHeldInsideAndClicksOnlyOnReleaseInside) {
    EnterKeyOnWindow w;
    QSignalSpy clicks(w.key, &ShapedButton::clicked);
    EXPECT_EQ(shownState(*w.key), State::Normal);
    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCentre));
    EXPECT_TRUE(w.key->hover());
    EXPECT_EQ(shownState(*w.key), State::Over);

    QTest::mousePress(&w.window, Qt::LeftButton, {}, EnterKeyOnWindow::onWindow(kCentre));
    EXPECT_EQ(shownState(*w.key), State::Down);
    // Out of the outline while held: no longer pressed, and back again.
    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCorner));
    EXPECT_FALSE(w.key->isDown());
    EXPECT_NE(shownState(*w.key), State::Down);
    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCentre));
    EXPECT_EQ(shownState(*w.key), State::Down);
    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCorner));
    QTest::mouseRelease(&w.window, Qt::LeftButton, {}, EnterKeyOnWindow::onWindow(kCorner));
    EXPECT_EQ(clicks.count(), 0);

    QTest::mouseMove(&w.window, QPoint(5, 45));
    EXPECT_FALSE(w.key->hover());
    EXPECT_EQ(shownState(*w.key), State::Normal);
}

TEST(ShapedButton, DisabledItShowsItsDisabledPictureAndDoesNotClick) {
    EnterKeyOnWindow w;
    QSignalSpy clicks(w.key, &ShapedButton::clicked);
    w.key->setEnabled(false);
    EXPECT_EQ(shownState(*w.key), State::Disabled);
    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCentre));
    QTest::mouseClick(&w.window, Qt::LeftButton, {}, EnterKeyOnWindow::onWindow(kCentre));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(shownState(*w.key), State::Disabled);

    QTest::mouseMove(&w.window, QPoint(5, 45));
    w.key->setEnabled(true);
    EXPECT_EQ(shownState(*w.key), State::Normal);
    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCentre));
    QTest::mouseClick(&w.window, Qt::LeftButton, {}, EnterKeyOnWindow::onWindow(kCentre));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(ShapedButton, CheckedShowsPressedEvenDisabledAndAReleaseEndsInNormal) {
    EnterKeyOnWindow w;
    w.key->setChecked(true);
    w.key->setEnabled(false);
    EXPECT_EQ(shownState(*w.key), State::Down);
    w.key->setChecked(false);
    EXPECT_EQ(shownState(*w.key), State::Disabled);

    w.key->setEnabled(true);
    QTest::mouseMove(&w.window, EnterKeyOnWindow::onWindow(kCentre));
    QTest::mouseClick(&w.window, Qt::LeftButton, {}, EnterKeyOnWindow::onWindow(kCentre));
    EXPECT_EQ(shownState(*w.key), State::Normal);
}
