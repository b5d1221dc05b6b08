#pragma once

#include "skin/SkinImage.h"
#include "tests/skin/SkinFixture.h"

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>

namespace vantrel::test {

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
