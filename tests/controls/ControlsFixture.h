#pragma once

#include "skin/SkinImage.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vantrel::test {

// The blue channel of a state picture tells which picture a grab came from.
enum class State { Normal = 40, Over = 100, Down = 160, Disabled = 220 };

// A pixel that depends on where it lies and on the state.
inline QImage statePicture(QSize size, State state) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb((3 * x) % 256, (5 * y) % 256, static_cast<int>(state)));
    return image;
}

inline SkinPictures statePictures(QSize size) {
    return {SkinImage(statePicture(size, State::Normal)),
            SkinImage(statePicture(size, State::Over)), SkinImage(statePicture(size, State::Down)),
            SkinImage(statePicture(size, State::Disabled))};
}

inline QImage grabbed(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The picture a grab came from, by the blue channel of its top-left pixel.
inline State shownState(QWidget& widget) {
    return static_cast<State>(qBlue(grabbed(widget).pixel(0, 0)));
}

inline bool closeTo(QRgb actual, QRgb expected, int steps) {
    return std::abs(qRed(actual) - qRed(expected)) <= steps &&
           std::abs(qGreen(actual) - qGreen(expected)) <= steps &&
           std::abs(qBlue(actual) - qBlue(expected)) <= steps;
}

// Shows a window built by the test, with the pointer parked in its corner
// (the cursor stays where an earlier test left it).
inline void showWindow(QWidget& window) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::mouseMove(&window, QPoint(1, 1));
}

} // namespace vantrel::test
