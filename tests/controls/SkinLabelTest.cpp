#include "skin/SkinLabel.h"
#include "tests/controls/ControlsFixture.h"

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

// First and last column holding text, told by its brightness.
std::pair<int, int> inkColumns(const QImage& image) {
    int first = image.width();
    int last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) > 100) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

} // namespace

TEST(SkinLabel, DrawsWhiteTextCentredOnTheDarkGround) {
    QWidget window;
    window.resize(120, 40);
    auto* label = new SkinLabel(QRect(10, 10, 80, 20), &window);
    label->setText(QStringLiteral("100%"));
    showWindow(window);
    const QImage shown = grabbed(*label);
    EXPECT_EQ(shown.pixel(0, 0), qRgb(2, 2, 2));
    EXPECT_EQ(shown.pixel(79, 19), qRgb(2, 2, 2));
    // White text: every pixel a grey between ground and white, some nearly white.
    int brightest = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QRgb pixel = shown.pixel(x, y);
            ASSERT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel));
            brightest = std::max(brightest, qRed(pixel));
        }
    }
    EXPECT_GT(brightest, 230);
    const auto [first, last] = inkColumns(shown);
    ASSERT_LT(first, last);
    EXPECT_LE(std::abs(first - (79 - last)), 2) << first << " " << last;
}

TEST(SkinLabel, CompactDrawsLeftAlignedInTheNarrowerFont) {
    QWidget window;
    window.resize(120, 40);
    auto* wide = new SkinLabel(QRect(10, 0, 100, 20), &window);
    auto* compact = new SkinLabel(QRect(10, 20, 100, 20), &window);
    compact->setCompact(true);
    for (SkinLabel* label : {wide, compact})
        label->setText(QStringLiteral("Brightness"));
    showWindow(window);
    const auto [compactFirst, compactLast] = inkColumns(grabbed(*compact));
    const auto [wideFirst, wideLast] = inkColumns(grabbed(*wide));
    EXPECT_LE(compactFirst, 1);
    EXPECT_GT(wideFirst, 3);
    EXPECT_LT(compactLast - compactFirst, wideLast - wideFirst - 10);
}
