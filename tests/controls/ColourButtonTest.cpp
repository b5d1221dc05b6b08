#include "skin/ColourButton.h"
#include "tests/controls/ControlsFixture.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

const QRect kButtonRect(10, 10, 40, 20);

// A colour button on a window, its pictures cut from full-window pictures.
struct ColourButtonOnWindow {
    ColourButtonOnWindow() {
        window.resize(80, 50);
        button = new ColourButton(&window);
        button->setGeometry(kButtonRect);
        button->setPicturesFromSkin(kButtonRect, statePictures(window.size()));
        showWindow(window);
    }
    QImage picture(State state) const {
        return statePicture(window.size(), state).copy(kButtonRect);
    }

    QWidget window;
    ColourButton* button = nullptr;
};

// Constant-alpha 127 source-over, worked out exactly.
double blended(int source, int destination) {
    return (source * 127.0 + destination * 128.0) / 255.0;
}

bool blendMatches(QRgb actual, QRgb source, QRgb destination) {
    auto near = [](int value, double exact) { return std::abs(value - exact) <= 1.0; };
    return near(qRed(actual), blended(qRed(source), qRed(destination))) &&
           near(qGreen(actual), blended(qGreen(source), qGreen(destination))) &&
           near(qBlue(actual), blended(qBlue(source), qBlue(destination)));
}

} // namespace

TEST(ColourButton, OpaqueShapeWithInsetsFourAndFiveHasNotchedCorners) {
    ColourButtonOnWindow w;
    w.button->setInsets(4, 5);
    w.button->setColour(0x0000FF); // red
    w.button->update();
    const QImage shown = grabbed(*w.button);
    const QImage normal = w.picture(State::Normal);
    ASSERT_EQ(shown.size(), QSize(40, 20));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            const bool inRows = y >= 5 && y <= 14 && x >= 4 && x <= 35;
            const bool inEnds = (y == 4 || y == 15) && x >= 5 && x <= 34;
            const QRgb expected = inRows || inEnds ? qRgb(255, 0, 0) : normal.pixel(x, y);
            ASSERT_EQ(shown.pixel(x, y), expected) << "at " << x << "," << y;
        }
    }
}

TEST(ColourButton, OpaqueColourLiesOverThePictureOfTheState) {
    ColourButtonOnWindow w;
    w.button->setColour(0x00FF00); // green
    w.button->setEnabled(false);
    const QImage shown = grabbed(*w.button);
    // Default insets 1 and 2: the corner pixel and the notch stay picture.
    EXPECT_EQ(shown.pixel(0, 0), w.picture(State::Disabled).pixel(0, 0));
    EXPECT_EQ(shown.pixel(1, 1), w.picture(State::Disabled).pixel(1, 1));
    EXPECT_EQ(shown.pixel(2, 1), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(1, 2), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(38, 18), w.picture(State::Disabled).pixel(38, 18));
    EXPECT_EQ(shown.pixel(37, 18), qRgb(0, 255, 0));
}

TEST(ColourButton, BlendModeLaysTheColourHalfWayOverThePicture) {
    ColourButtonOnWindow w;
    w.button->setBlendMode(true);
    w.button->setInsets(4, 5);
    const uint32_t colour = 0x204080; // red 0x80, green 0x40, blue 0x20
    w.button->setColour(colour);
    const QImage shown = grabbed(*w.button);
    const QImage normal = w.picture(State::Normal);
    const QRegion shape = w.button->colourShape(QSize(40, 20));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            // Inside the shape toward the colour, outside toward black.
            const QRgb source =
                shape.contains(QPoint(x, y)) ? qRgb(0x80, 0x40, 0x20) : qRgb(0, 0, 0);
            ASSERT_TRUE(blendMatches(shown.pixel(x, y), source, normal.pixel(x, y)))
                << "at " << x << "," << y << ": " << std::hex << shown.pixel(x, y);
        }
    }
}

TEST(ColourButton, BlendModeLeavesThePictureForBlackOnlyAndTintsEvenForVeryDark) {
    ColourButtonOnWindow w;
    w.button->setBlendMode(true);
    w.button->setColour(0);
    EXPECT_EQ(grabbed(*w.button), w.picture(State::Normal));

    w.button->setColour(0x010000); // the darkest blue there is
    w.button->update();
    const QImage shown = grabbed(*w.button);
    EXPECT_NE(shown, w.picture(State::Normal));
    const QRgb inside = shown.pixel(20, 10);
    EXPECT_TRUE(blendMatches(inside, qRgb(0, 0, 1), w.picture(State::Normal).pixel(20, 10)));
}

TEST(ColourButton, APressPaintsTheBrushColourBeforeTheClick) {
    ColourButtonOnWindow w;
    w.button->setBlendMode(true);
    w.button->setPressPaints(true);
    w.button->setColour(0x0000FF);
    w.button->setBrushColour(0x00FF00);
    std::vector<uint32_t> colourAtClick;
    QObject::connect(w.button, &ColourButton::clicked, w.button,
                     [&] { colourAtClick.push_back(w.button->colour()); });

    QTest::mouseMove(w.button, QPoint(20, 10));
    QTest::mousePress(w.button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(w.button->colour(), 0x00FF00u);
    // Pressed: the down picture, tinted with the brush colour.
    EXPECT_TRUE(blendMatches(grabbed(*w.button).pixel(20, 10), qRgb(0, 255, 0),
                             w.picture(State::Down).pixel(20, 10)));
    EXPECT_TRUE(colourAtClick.empty());
    QTest::mouseRelease(w.button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(colourAtClick, std::vector<uint32_t>{0x00FF00});
}

TEST(ColourButton, WithoutPressPaintsAPressKeepsTheColour) {
    ColourButtonOnWindow w;
    w.button->setColour(0x0000FF);
    w.button->setBrushColour(0x00FF00);
    QSignalSpy clicks(w.button, &ColourButton::clicked);
    QTest::mouseMove(w.button, QPoint(20, 10));
    QTest::mouseClick(w.button, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(w.button->colour(), 0x0000FFu);
}
