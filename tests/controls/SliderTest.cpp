#include "skin/CPHSlider.h"
#include "skin/CclickHSlider.h"
#include "tests/TempDir.h"
#include "tests/controls/ControlsFixture.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

constexpr int kBrightness = 201;
const QRect kTrackRect(60, 10, 100, 12);
const QColor kCorner(255, 0, 255);
const QColor kBody(200, 200, 40);

// A 10 x 12 thumb: a body in a frame of the corner colour, the frame one pixel
// deep at the sides and two at top and bottom.
QImage thumbPicture() {
    QImage picture(10, 12, QImage::Format_RGB32);
    picture.fill(kCorner);
    for (int y = 2; y < 10; ++y)
        for (int x = 1; x < 9; ++x)
            picture.setPixel(x, y, kBody.rgb());
    return picture;
}

// Catches the slider's debug lines.
class DebugLines {
public:
    DebugLines() {
        s_lines = &m_lines;
        QLoggingCategory::setFilterRules(QStringLiteral("vantrel.slider.debug=true"));
        m_previous = qInstallMessageHandler(&DebugLines::handle);
    }
    ~DebugLines() {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
        s_lines = nullptr;
    }
    const QStringList& lines() const { return m_lines; }

private:
    static void handle(QtMsgType, const QMessageLogContext& context, const QString& text) {
        if (s_lines && QByteArrayView(context.category) == "vantrel.slider")
            s_lines->append(text);
    }
    // Only for the handler's sake, and only while an object lives.
    static inline QStringList* s_lines = nullptr;
    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
};

// A page picture and a slider on it, the thumb file in a temporary skins folder.
struct SliderOnPage {
    SliderOnPage() {
        thumbPicture().save(QString::fromStdString(dir.file("slider.bmp")), "BMP");
        page.resize(480, 40);
        pagePicture = SkinImage(statePicture(page.size(), State::Normal));
        slider = CclickHSlider::create(dir.file("slider.bmp"), kTrackRect, &page, kBrightness);
        if (slider)
            slider->setBackground(kTrackRect, pagePicture);
        showWindow(page);
    }
    const CPHSlider& thumb() const { return *slider->findChild<CPHSlider*>(); }
    QWidget* thumbWidget() { return slider->findChild<CPHSlider*>(); }
    void click(int x) { QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(x, 6)); }

    TempDir dir;
    QWidget page;
    SkinImage pagePicture;
    CclickHSlider* slider = nullptr;
};

std::vector<std::pair<int, int>> notices(const QSignalSpy& spy) {
    std::vector<std::pair<int, int>> result;
    for (const QList<QVariant>& arguments : spy)
        result.emplace_back(arguments.at(0).toInt(), arguments.at(1).toInt());
    return result;
}

} // namespace

TEST(Slider, WithoutTheThumbPictureNoSliderIsMade) {
    TempDir dir;
    QWidget page;
    EXPECT_EQ(CclickHSlider::create(dir.file("slider.bmp"), kTrackRect, &page, kBrightness),
              nullptr);
    // Not a bitmap, whatever its name says.
    thumbPicture().save(QString::fromStdString(dir.file("slider.bmp")), "PNG");
    EXPECT_EQ(CclickHSlider::create(dir.file("slider.bmp"), kTrackRect, &page, kBrightness),
              nullptr);
    EXPECT_TRUE(page.findChildren<QWidget*>().isEmpty());
}

TEST(Slider, TrackShowsThePagePictureAndTheThumbItsOutlineAtZero) {
    SliderOnPage s;
    ASSERT_NE(s.slider, nullptr);
    EXPECT_EQ(s.slider->geometry(), kTrackRect);
    EXPECT_EQ(s.thumb().geometry(), QRect(0, 0, 10, 12));
    EXPECT_EQ(s.slider->value(), 0);
    // The corner colour is outside the outline, the body inside.
    EXPECT_EQ(s.thumb().mask(), QRegion(1, 2, 8, 8));

    const QImage shown = grabbed(*s.slider);
    const QImage expected = s.pagePicture.image().copy(kTrackRect);
    EXPECT_EQ(shown.pixel(50, 6), expected.pixel(50, 6));
    EXPECT_EQ(shown.pixel(99, 11), expected.pixel(99, 11));
    EXPECT_EQ(shown.pixel(4, 5), kBody.rgb());
}

TEST(Slider, ClicksJumpCuttingOrRoundingAndClampAtTheEnds) {
    SliderOnPage s;
    DebugLines debug;
    QSignalSpy spy(s.slider, &CclickHSlider::valueChanged);
    // Three quarters of the track.
    s.click(75);
    EXPECT_EQ(s.slider->value(), 7);
    EXPECT_EQ(s.thumb().x(), 63);
    s.slider->setRounding(true);
    s.slider->setValue(0);
    s.click(75);
    EXPECT_EQ(s.slider->value(), 8);
    EXPECT_EQ(s.thumb().x(), 72);
    s.click(99);
    EXPECT_EQ(s.slider->value(), 10);
    EXPECT_EQ(s.thumb().geometry().right(), kTrackRect.width() - 1);
    s.click(0);
    EXPECT_EQ(s.slider->value(), 0);
    EXPECT_EQ(s.thumb().x(), 0);

    // A click is told to the page at once, with the track's identifier.
    const std::vector<std::pair<int, int>> expected{
        {7, kBrightness}, {8, kBrightness}, {10, kBrightness}, {0, kBrightness}};
    EXPECT_EQ(notices(spy), expected);
    EXPECT_EQ(debug.lines(), (QStringList{QStringLiteral("CclickHSlider=7.500000"),
                                          QStringLiteral("CclickHSlider=7.500000"),
                                          QStringLiteral("CclickHSlider=9.900000"),
                                          QStringLiteral("CclickHSlider=0.000000")}));
}

TEST(Slider, SetValuePlacesTheThumbAtTheEndsWithoutANotice) {
    SliderOnPage s;
    QSignalSpy spy(s.slider, &CclickHSlider::valueChanged);
    s.slider->setValue(10);
    EXPECT_EQ(s.thumb().geometry().right() + 1, kTrackRect.width());
    s.slider->setValue(0);
    EXPECT_EQ(s.thumb().x(), 0);
    s.slider->setValue(-1);
    EXPECT_EQ(s.slider->value(), 10);
    EXPECT_EQ(s.thumb().x(), 90);
    s.slider->setValue(5);
    EXPECT_EQ(s.thumb().x(), 45);

    s.slider->setRange(1, 7);
    s.slider->setValue(0);
    EXPECT_EQ(s.slider->value(), 1);
    EXPECT_EQ(s.thumb().x(), 0);
    s.slider->setValue(2);
    EXPECT_EQ(s.thumb().x(), 15); // 90 / 6
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 0);
}

TEST(Slider, ADragPostsOneTrailingNoticePerMoveAndTheFinalValueOnRelease) {
    SliderOnPage s;
    DebugLines debug;
    QSignalSpy spy(s.slider, &CclickHSlider::valueChanged);
    // Posted by the thumb, re-posted by the track: when the thumb sends a
    // value, the track has not passed it on yet.
    std::vector<qsizetype> passedOnWhenSent;
    QObject::connect(&s.thumb(), &CPHSlider::valueChanged, s.slider,
                     [&] { passedOnWhenSent.push_back(spy.count()); });
    QWidget* thumb = s.thumbWidget();
    QTest::mouseMove(thumb, QPoint(5, 6));
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(5, 6));
    for (int move = 1; move <= 3; ++move) {
        // Ten pixels right of the press point, wherever the thumb now is;
        // the vertical movement does not count.
        QTest::mouseMove(thumb, QPoint(15, 6 + move));
        EXPECT_EQ(s.thumb().geometry(), QRect(10 * move, 0, 10, 12));
    }
    QCoreApplication::processEvents();
    const std::vector<std::pair<int, int>> moves{
        {0, kBrightness}, {1, kBrightness}, {2, kBrightness}};
    EXPECT_EQ(notices(spy), moves);
    EXPECT_EQ(passedOnWhenSent, (std::vector<qsizetype>{0, 1, 2}));

    // Where the pointer is: the thumb has moved under it since.
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(5, 9));
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 4);
    // 30 of 90 pixels: 3.33, cut to 3; without rounding the thumb stays.
    EXPECT_EQ(notices(spy).back(), std::make_pair(3, kBrightness));
    EXPECT_EQ(s.slider->value(), 3);
    EXPECT_EQ(s.thumb().x(), 30);
    EXPECT_EQ(debug.lines(), QStringList{QStringLiteral("CPHSlider=3.333333")});
}

TEST(Slider, ARoundedReleaseSnapsTheThumbToItsValue) {
    SliderOnPage s;
    s.slider->setRounding(true);
    QSignalSpy spy(s.slider, &CclickHSlider::valueChanged);
    QWidget* thumb = s.thumbWidget();
    QTest::mouseMove(thumb, QPoint(5, 6));
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseMove(thumb, QPoint(19, 6)); // left edge 14: 1.56
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(5, 6));
    QCoreApplication::processEvents();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(notices(spy).back(), std::make_pair(2, kBrightness));
    EXPECT_EQ(s.thumb().x(), 18);
}

TEST(Slider, TheThumbNeverLeavesTheTrack) {
    SliderOnPage s;
    QSignalSpy spy(s.slider, &CclickHSlider::valueChanged);
    QWidget* thumb = s.thumbWidget();
    QTest::mouseMove(thumb, QPoint(5, 6));
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mouseMove(thumb, QPoint(-40, 6));
    EXPECT_EQ(s.thumb().x(), 0);
    QTest::mouseMove(thumb, QPoint(300, 6));
    EXPECT_EQ(s.thumb().x(), 90);
    QTest::mouseMove(thumb, QPoint(300, 6));
    EXPECT_EQ(s.thumb().x(), 90);
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(300, 6));
    QCoreApplication::processEvents();
    const std::vector<std::pair<int, int>> expected{
        {0, kBrightness}, {0, kBrightness}, {10, kBrightness}, {10, kBrightness}};
    EXPECT_EQ(notices(spy), expected);
}
