#include "skin/SliderScale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vantrel;

namespace {

SliderScale scale(int32_t minimum, int32_t maximum, bool rounding = false) {
    return SliderScale{minimum, maximum, rounding};
}

} // namespace

TEST(SliderScale, SetValueClampsAsUnsignedSoNegativeValuesBecomeTheMaximum) {
    const SliderScale tenSteps = scale(0, 10);
    EXPECT_EQ(tenSteps.clampUnsigned(5), 5);
    EXPECT_EQ(tenSteps.clampUnsigned(11), 10);
    EXPECT_EQ(tenSteps.clampUnsigned(-1), 10);
    EXPECT_EQ(tenSteps.clampUnsigned(std::numeric_limits<int32_t>::min()), 10);

    const SliderScale pulsation = scale(1, 7);
    EXPECT_EQ(pulsation.clampUnsigned(0), 1);
    EXPECT_EQ(pulsation.clampUnsigned(7), 7);
    EXPECT_EQ(pulsation.clampUnsigned(-5), 7);
}

TEST(SliderScale, ThumbPlacesDivideWithoutRemainder) {
    const SliderScale tenSteps = scale(0, 10);
    EXPECT_EQ(tenSteps.thumbLeft(0, 90), 0);
    EXPECT_EQ(tenSteps.thumbLeft(10, 90), 90);
    EXPECT_EQ(tenSteps.thumbLeft(3, 95), 28); // 285 / 10
    EXPECT_EQ(tenSteps.thumbLeft(7, 95), 66); // 665 / 10
    EXPECT_EQ(scale(1, 7).thumbLeft(4, 100), 50);
    EXPECT_EQ(scale(1, 7).thumbLeft(2, 100), 16); // 100 / 6
}

TEST(SliderScale, DegenerateRangesAndTracksKeepTheThumbAtTheLeftEnd) {
    EXPECT_EQ(scale(5, 5).thumbLeft(5, 90), 0);
    // A thumb wider than its track.
    EXPECT_EQ(scale(0, 10).thumbLeft(10, -4), 0);
    EXPECT_EQ(scale(0, 10).clickValue(3, 0), 0.0);
    EXPECT_EQ(scale(2, 10).dragValue(0, 0), 2);
    EXPECT_EQ(scale(2, 10).releaseValue(0, 0), 2.0);
}

TEST(SliderScale, ClicksCutOrRoundThenClamp) {
    EXPECT_DOUBLE_EQ(scale(0, 10).clickValue(75, 100), 7.5);
    EXPECT_EQ(scale(0, 10).settle(7.5), 7);
    EXPECT_EQ(scale(0, 10, true).settle(7.5), 8);
    EXPECT_EQ(scale(0, 10).settle(scale(0, 10).clickValue(99, 100)), 9);
    EXPECT_EQ(scale(0, 10, true).settle(scale(0, 10).clickValue(99, 100)), 10);
    EXPECT_EQ(scale(0, 10).settle(scale(0, 10).clickValue(130, 100)), 10);
    EXPECT_DOUBLE_EQ(scale(1, 7).clickValue(50, 100), 4.0);
    // Cutting goes toward zero; the clamp comes after it.
    EXPECT_EQ(scale(-5, 5).settle(-2.7), -2);
    EXPECT_EQ(scale(-5, 5, true).settle(-2.7), -2);
    EXPECT_EQ(scale(-5, 5, true).settle(-2.2), -1);
    EXPECT_EQ(scale(1, 7).settle(0.9), 1);
    EXPECT_EQ(scale(0, 10).settle(1e300), 10);
    EXPECT_EQ(scale(0, 10).settle(-1e300), 0);
    EXPECT_EQ(scale(0, 10).settle(std::nan("")), 0);
}

TEST(SliderScale, DragValuesUseIntegersAndReleaseValuesFractions) {
    const SliderScale tenSteps = scale(0, 10);
    EXPECT_EQ(tenSteps.dragValue(30, 90), 3);
    EXPECT_EQ(tenSteps.dragValue(89, 90), 9);
    EXPECT_EQ(tenSteps.dragValue(90, 90), 10);
    EXPECT_EQ(scale(1, 7).dragValue(50, 90), 4); // 1 + 300 / 90
    EXPECT_NEAR(tenSteps.releaseValue(30, 90), 3.3333333, 1e-6);
    EXPECT_NEAR(scale(1, 7).releaseValue(50, 90), 4.3333333, 1e-6);
}
