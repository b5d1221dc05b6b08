#include "lighting/ColourPicker.h"
#include "lighting/ColourSwatch.h"
#include "lighting/ColourValueBox.h"
#include "skin/BitmapEdit.h"
#include "skin/ColourWord.h"
#include "tests/UiWait.h"
#include "tests/controls/ControlsFixture.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <vector>

using namespace vantrel;
using namespace vantrel::test;

namespace {

// Every spectrum pixel tells where it lies, but for a white block at
// (100, 20)-(109, 29); the marker is see-through but for its top-left 3 x 3.
QRgb spectrumAt(int x, int y) {
    return x >= 100 && x <= 109 && y >= 20 && y <= 29 ? qRgb(255, 255, 255) : qRgb(x, y, 100);
}
constexpr QRgb kMarkerInk = qRgb(1, 2, 3);

struct PickerOnWindow {
    PickerOnWindow() {
        QImage spectrum(252, 76, QImage::Format_RGB32);
        for (int y = 0; y < 76; ++y)
            for (int x = 0; x < 252; ++x)
                spectrum.setPixel(x, y, spectrumAt(x, y));
        spectrum.save(QString::fromStdString(dir.file("spectrum.png")));
        QImage marker(13, 13, QImage::Format_RGB32);
        marker.fill(qRgb(255, 0, 255));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 3; ++x)
                marker.setPixel(x, y, kMarkerInk);
        marker.save(QString::fromStdString(dir.file("marker.png")));

        window.resize(320, 100);
        picker = new ColourPicker(QRect(10, 10, 252, 76), &window,
                                  QString::fromStdString(dir.file("spectrum.png")),
                                  QString::fromStdString(dir.file("marker.png")));
        showWindow(window);
    }
    void press(QPoint at) { QTest::mousePress(picker, Qt::LeftButton, {}, at); }
    void release(QPoint at) { QTest::mouseRelease(picker, Qt::LeftButton, {}, at); }
    void move(QPoint to) { QTest::mouseMove(picker, to); }

    TempDir dir;
    QWidget window;
    ColourPicker* picker = nullptr;
};

uint32_t wordAt(int x, int y) {
    return wordFromRgb(spectrumAt(x, y));
}

// A red box (0..255, step 1) showing 0 on a window, with its edit focused.
struct BoxOnWindow {
    static constexpr QRect kRect{20, 10, 64, 24};

    BoxOnWindow() {
        window.resize(200, 60);
        box = new ColourValueBox(kRect, 400, &window);
        box->setPicturesFromSkin(kRect, statePictures(window.size()));
        box->setRange(0, 255);
        box->setStep(1);
        box->setValue(0);
        other = new BitmapEdit(&window);
        other->setGeometry(100, 10, 60, 24);
        showWindow(window);
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        box->edit()->setFocus();
        handlePosted();
    }
    // Types text key by key, letting each posted notice be handled before the next key.
    void type(const QString& text) {
        for (const QChar c : text) {
            QTest::keyClicks(box->edit(), QString(c));
            handlePosted();
        }
    }
    void clear() {
        box->edit()->selectAll();
        QTest::keyClick(box->edit(), Qt::Key_Backspace);
        handlePosted();
    }

    QWidget window;
    ColourValueBox* box = nullptr;
    BitmapEdit* other = nullptr;
};

std::vector<int> values(const QSignalSpy& notices, int identifier) {
    std::vector<int> seen;
    for (const QList<QVariant>& notice : notices) {
        EXPECT_EQ(notice.at(1).toInt(), identifier);
        seen.push_back(notice.at(0).toInt());
    }
    return seen;
}

} // namespace

TEST(ColourPicker, PressesNearTheEdgePickTheEdgeAndFartherOnesNothing) {
    const struct {
        QPoint press;
        bool picks;
        QPoint taken; // where the colour comes from, the marker's centre
    } cases[] = {
        {{4, 40}, true, {6, 40}}, {{3, 3}, true, {6, 6}}, {{247, 71}, true, {245, 69}},
        {{2, 40}, false, {}},     {{248, 40}, false, {}}, {{40, 72}, false, {}},
        {{130, 2}, false, {}},
    };
    for (const auto& c : cases) {
        PickerOnWindow w;
        const QImage before = grabbed(*w.picker);
        QSignalSpy picked(w.picker, &ColourPicker::colourPicked);
        w.press(c.press);
        w.release(c.press);
        if (c.picks) {
            EXPECT_EQ(picked.count(), 1) << c.press.x() << "," << c.press.y();
            EXPECT_EQ(w.picker->colour(), wordFromRgb(before.pixel(c.taken)));
            EXPECT_EQ(w.picker->colour(), wordAt(c.taken.x(), c.taken.y()));
            EXPECT_EQ(w.picker->markerPosition(), c.taken - QPoint(6, 6));
        } else {
            EXPECT_EQ(picked.count(), 0) << c.press.x() << "," << c.press.y();
            EXPECT_EQ(w.picker->colour(), 0x0000FFu);
            EXPECT_EQ(w.picker->markerPosition(), QPoint(120, 35));
        }
    }
}

TEST(ColourPicker, TakesThePixelAsShownMarkerIncludedButNeverWhite) {
    PickerOnWindow w;
    QSignalSpy picked(w.picker, &ColourPicker::colourPicked);
    // White picks nothing, yet the marker moves and the drag starts.
    w.press({105, 25});
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(w.picker->colour(), 0x0000FFu);
    EXPECT_EQ(w.picker->markerPosition(), QPoint(99, 19));
    w.move({111, 25});
    EXPECT_EQ(picked.count(), 1);
    EXPECT_EQ(w.picker->colour(), wordAt(111, 25));
    w.release({111, 25});
    // The marker's ink, where it was drawn before this press, is what is taken.
    EXPECT_EQ(w.picker->markerPosition(), QPoint(105, 19));
    const QPoint ink(106, 20);
    EXPECT_EQ(grabbed(*w.picker).pixel(ink), kMarkerInk);
    w.press(ink);
    EXPECT_EQ(picked.count(), 2);
    EXPECT_EQ(w.picker->colour(), wordFromRgb(kMarkerInk));
    EXPECT_EQ(w.picker->markerPosition(), QPoint(100, 14));
}

TEST(ColourPicker, DragsOnlyFromAPressInReachUntilReleaseOrLeaving) {
    PickerOnWindow w;
    QSignalSpy picked(w.picker, &ColourPicker::colourPicked);
    // A press out of reach starts no drag.
    w.press({1, 1});
    w.move({50, 40});
    EXPECT_EQ(picked.count(), 0);
    w.release({50, 40});

    w.press({10, 40});
    w.move({60, 40});
    EXPECT_EQ(picked.count(), 2);
    EXPECT_EQ(w.picker->colour(), wordAt(60, 40));
    // Out of the picker and back, the button still held: the drag has ended.
    w.move({260, 40});
    w.move({70, 40});
    EXPECT_EQ(picked.count(), 2);
    EXPECT_EQ(w.picker->markerPosition(), QPoint(54, 34));
    w.release({70, 40});

    // After a release, moves with another button held pick nothing.
    w.press({10, 40});
    w.release({10, 40});
    QTest::mousePress(w.picker, Qt::RightButton, {}, {20, 40});
    w.move({80, 40});
    QTest::mouseRelease(w.picker, Qt::RightButton, {}, {80, 40});
    EXPECT_EQ(picked.count(), 3);
    EXPECT_EQ(w.picker->colour(), wordAt(10, 40));
}

TEST(ColourPicker, ProgramPicturesByDefaultAndHiddenWithoutAPicture) {
    QWidget window;
    window.resize(300, 100);
    auto* picker = new ColourPicker(QRect(0, 0, 252, 76), &window);
    auto* broken = new ColourPicker(QRect(0, 0, 252, 76), &window, QStringLiteral("/nowhere.bmp"));
    showWindow(window);
    EXPECT_TRUE(picker->isVisible());
    EXPECT_EQ(picker->colour(), 0x0000FFu);
    EXPECT_EQ(picker->markerPosition(), QPoint(120, 35));
    EXPECT_FALSE(broken->isVisible());
}

TEST(ColourSwatch, ShowsItsColourInsideTheMasksOutline) {
    QWidget window;
    window.resize(80, 80);
    auto* swatch = new ColourSwatch(QRect(10, 10, 49, 49), &window);
    showWindow(window);
    EXPECT_EQ(swatch->colour(), 0x0000FFu);
    swatch->setColour(0x0080FF);
    EXPECT_EQ(grabbed(*swatch).pixel(24, 24), qRgb(255, 128, 0));
    EXPECT_TRUE(swatch->mask().contains(QPoint(24, 24)));
    EXPECT_FALSE(swatch->mask().contains(QPoint(0, 0)));
}

TEST(ColourValueBox, TypedTextIsClampedAndRewrittenWithANoticeForEachChange) {
    BoxOnWindow w;
    QSignalSpy notices(w.box, &ColourValueBox::valueSet);
    w.box->edit()->selectAll();
    w.type(QStringLiteral("300"));
    EXPECT_EQ(w.box->edit()->text(), QStringLiteral("255"));
    EXPECT_EQ(w.box->value(), 255);
    // The rewrite is a change of its own, noticed once more.
    EXPECT_EQ(values(notices, 400), (std::vector<int>{3, 30, 255, 255}));
}

TEST(ColourValueBox, TypingAfterAZeroNoticesEachValueAndRewritesNothing) {
    BoxOnWindow w;
    QSignalSpy notices(w.box, &ColourValueBox::valueSet);
    w.type(QStringLiteral("77"));
    EXPECT_EQ(w.box->edit()->text(), QStringLiteral("077"));
    EXPECT_EQ(w.box->value(), 77);
    // Losing the focus validates once more.
    w.other->setFocus();
    handlePosted();
    EXPECT_EQ(values(notices, 400), (std::vector<int>{7, 77, 77}));
}

TEST(ColourValueBox, EnterWritesASignedValueWithoutItsLeadingZeros) {
    BoxOnWindow w;
    w.box->setRange(-50, 50);
    w.clear();
    QSignalSpy notices(w.box, &ColourValueBox::valueSet);
    w.type(QStringLiteral("-07"));
    EXPECT_EQ(w.box->edit()->text(), QStringLiteral("-07"));
    QTest::keyClick(w.box->edit(), Qt::Key_Return);
    handlePosted();
    EXPECT_EQ(w.box->edit()->text(), QStringLiteral("-7"));
    // "-", "-0", "-07", Enter, and the rewrite's own change.
    EXPECT_EQ(values(notices, 400), (std::vector<int>{0, 0, -7, -7, -7}));
}

TEST(ColourValueBox, ANegativeMinimumTakesASignAndOneCharacterMore) {
    const struct {
        int minimum;
        int maximum;
        const char* shown;
    } cases[] = {{0, 500, "123"}, {-500, 500, "-123"}};
    for (const auto& c : cases) {
        BoxOnWindow w;
        w.box->setRange(c.minimum, c.maximum);
        w.clear();
        w.type(QStringLiteral("-1234"));
        EXPECT_EQ(w.box->edit()->text(), QLatin1String(c.shown)) << c.minimum;
    }
}

TEST(ColourValueBox, ShowsCentredWhiteDigitsOnBlackOverItsNormalPicture) {
    BoxOnWindow w;
    w.box->setValue(88);
    w.box->edit()->clearFocus(); // no caret in the picture
    EXPECT_EQ(w.box->edit()->geometry(), QRect(1, 1, 63, 23));
    EXPECT_EQ(w.box->edit()->alignment(), Qt::AlignCenter);
    const QImage shown = grabbed(*w.box);
    EXPECT_EQ(shown.pixel(0, 0), statePicture(w.window.size(), State::Normal).pixel(20, 10));
    EXPECT_EQ(shown.pixel(2, 2), qRgb(0, 0, 0));
    int brightest = 0;
    for (int x = 0; x < shown.width(); ++x)
        brightest = std::max(brightest, qGray(shown.pixel(x, shown.height() / 2)));
    EXPECT_EQ(brightest, 255);
}
