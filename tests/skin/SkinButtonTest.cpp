#include "skin/SkinButton.h"
#include "tests/skin/SkinFixture.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

const QRect kButtonRect(30, 20, 60, 24);

// A button on a plain window, with pictures cut from four full-window pictures.
class ButtonOnWindow {
public:
    ButtonOnWindow() {
        const QSize size(160, 80);
        m_pictures = {SkinImage(statePicture(size, State::Normal)),
                      SkinImage(statePicture(size, State::Over)),
                      SkinImage(statePicture(size, State::Down)),
                      SkinImage(statePicture(size, State::Disabled))};
        m_window.resize(size);
        button = new CountingButton(&m_window);
        button->setGeometry(kButtonRect);
        button->setPicturesFromSkin(kButtonRect, m_pictures);
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        // Start with the pointer off the button: the cursor stays where an
        // earlier test left it.
        QTest::mouseMove(&m_window, QPoint(1, 1));
    }

    // The picture the button shows now, told by its blue channel, after
    // checking that the whole grab is exactly that cut picture.
    State shown() const {
        const QImage grabbed = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const State state = static_cast<State>(qBlue(grabbed.pixel(0, 0)));
        const QImage expected = statePicture(m_window.size(), state).copy(kButtonRect);
        EXPECT_EQ(grabbed, expected);
        return state;
    }

    struct CountingButton final : SkinButton {
        using SkinButton::SkinButton;
        int paints = 0;
        void paintEvent(QPaintEvent* event) override {
            ++paints;
            SkinButton::paintEvent(event);
        }
    };

    QWidget& window() { return m_window; }
    CountingButton* button = nullptr;

private:
    QWidget m_window;
    SkinPictures m_pictures;
};

const QPoint kInside(10, 10);
const QPoint kOutside(-20, 40); // on the window, left of the button

} // namespace

TEST(SkinButton, ShowsOverDownAndNormalAsThePointerEntersPressesAndLeaves) {
    ButtonOnWindow w;
    QSignalSpy clicks(w.button, &SkinButton::clicked);
    QTest::mouseMove(&w.window(), QPoint(5, 5));
    EXPECT_EQ(w.shown(), State::Normal);

    QTest::mouseMove(w.button, kInside);
    EXPECT_TRUE(w.button->hover());
    EXPECT_EQ(w.shown(), State::Over);

    QTest::mousePress(w.button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(w.shown(), State::Down);
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(w.shown(), State::Over);

    QTest::mouseMove(&w.window(), QPoint(5, 5));
    EXPECT_FALSE(w.button->hover());
    EXPECT_EQ(w.shown(), State::Normal);
}

TEST(SkinButton, ReleasingOutsideSendsNoClickAndShowsNormal) {
    ButtonOnWindow w;
    QSignalSpy clicks(w.button, &SkinButton::clicked);
    QTest::mouseMove(w.button, kInside);
    QTest::mousePress(w.button, Qt::LeftButton, {}, kInside);
    QTest::mouseMove(w.button, kOutside);
    EXPECT_EQ(w.shown(), State::Normal);
    // Coming back while still held shows the pressed look again.
    QTest::mouseMove(w.button, kInside);
    EXPECT_EQ(w.shown(), State::Down);
    QTest::mouseMove(w.button, kOutside);
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, kOutside);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(w.shown(), State::Normal);
}

TEST(SkinButton, APressThatStartedElsewhereDoesNotLightTheButton) {
    ButtonOnWindow w;
    QTest::mouseMove(&w.window(), QPoint(5, 5));
    QTest::mousePress(&w.window(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(&w.window(), kButtonRect.topLeft() + kInside);
    EXPECT_FALSE(w.button->hover());
    QTest::mouseRelease(&w.window(), Qt::LeftButton, {}, kButtonRect.topLeft() + kInside);
}

TEST(SkinButton, DisabledAndCheckedLooksFollowTheMode) {
    ButtonOnWindow w;
    w.button->setEnabled(false);
    EXPECT_EQ(w.shown(), State::Disabled);

    // Push mode: checked shows pressed only while enabled.
    w.button->setChecked(true);
    EXPECT_EQ(w.shown(), State::Disabled);
    w.button->setEnabled(true);
    EXPECT_EQ(w.shown(), State::Down);

    // Toggle mode: disabled wins over checked too.
    w.button->setToggleMode(true);
    w.button->setEnabled(false);
    EXPECT_EQ(w.shown(), State::Disabled);
    w.button->setEnabled(true);
    EXPECT_EQ(w.shown(), State::Down);
    w.button->setChecked(false);
    EXPECT_EQ(w.shown(), State::Normal);
}

TEST(SkinButton, ToggleModeFlipsAndClicksOncePerRelease) {
    ButtonOnWindow w;
    w.button->setToggleMode(true);
    QSignalSpy clicks(w.button, &SkinButton::clicked);
    QTest::mouseMove(w.button, kInside);

    QTest::mouseClick(w.button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(w.button->isChecked());
    EXPECT_EQ(w.shown(), State::Down);

    // A double click is two presses and two releases: two flips, two clicks.
    QTest::mouseDClick(w.button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(clicks.count(), 3);
    EXPECT_TRUE(w.button->isChecked());

    QTest::mouseClick(w.button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(clicks.count(), 4);
    EXPECT_FALSE(w.button->isChecked());
    // While pressed and unchecked a toggle shows its hover look.
    QTest::mousePress(w.button, Qt::LeftButton, {}, kInside);
    EXPECT_EQ(w.shown(), State::Over);

    // Released off the button: no flip, no click.
    QTest::mouseMove(w.button, kOutside);
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, kOutside);
    EXPECT_EQ(clicks.count(), 4);
    EXPECT_FALSE(w.button->isChecked());
}

TEST(SkinButton, SetCheckedRepaintsOnlyOnChange) {
    ButtonOnWindow w;
    QApplication::processEvents();
    const int before = w.button->paints;
    w.button->setChecked(false);
    QApplication::processEvents();
    EXPECT_EQ(w.button->paints, before);
    w.button->setChecked(true);
    QApplication::processEvents();
    EXPECT_GT(w.button->paints, before);
}

TEST(SkinButton, CaptionStartsFivePixelsInAndIsCentredVertically) {
    ButtonOnWindow w;
    const QImage plain = w.button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    w.button->setCaption(QStringLiteral("Hg"));
    const QImage captioned = w.button->grab().toImage().convertToFormat(QImage::Format_RGB32);

    int left = captioned.width(), top = captioned.height(), bottom = -1;
    for (int y = 0; y < captioned.height(); ++y) {
        for (int x = 0; x < captioned.width(); ++x) {
            if (captioned.pixel(x, y) != plain.pixel(x, y)) {
                left = std::min(left, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(bottom, 0) << "no caption drawn";
    EXPECT_GE(left, 5);
    EXPECT_LE(left, 7);
    // "Hg" reaches from the cap height to below the baseline: its ink sits
    // around the middle of the 24-pixel button.
    EXPECT_NEAR((top + bottom) / 2.0, 11.5, 3.0);

    // The caption is the cell font, about six pixels a character: five digits
    // end near x = 43 with DejaVu Sans for Arial, 37 with Nimbus Sans (in the
    // face's natural width they would reach 49).
    w.button->setCaption(QStringLiteral("00000"));
    const QImage wide = w.button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int right = -1;
    for (int y = 0; y < wide.height(); ++y) {
        for (int x = 0; x < wide.width(); ++x) {
            if (wide.pixel(x, y) != plain.pixel(x, y))
                right = std::max(right, x);
        }
    }
    EXPECT_GT(right, 34);
    EXPECT_LT(right, 47);
}

TEST(SkinButton, LightsOnlyWhileTheProgramHasAnActiveWindow) {
    ButtonOnWindow w;
    QApplication::setActiveWindow(nullptr);
    QTest::mouseMove(w.button, kInside);
    EXPECT_FALSE(w.button->hover());
    QTest::mouseMove(&w.window(), QPoint(1, 1));

    QApplication::setActiveWindow(&w.window());
    QTest::mouseMove(w.button, kInside);
    EXPECT_TRUE(w.button->hover());
}

TEST(SkinButton, HintTextIsTheTooltip) {
    ButtonOnWindow w;
    w.button->setHintText(QStringLiteral("Open the manual"), true);
    EXPECT_EQ(w.button->toolTip(), QStringLiteral("Open the manual"));
    w.button->setHintText(QStringLiteral("Quiet"), false);
    EXPECT_TRUE(w.button->toolTip().isEmpty());
    EXPECT_EQ(w.button->hintText(), QStringLiteral("Quiet"));
}
