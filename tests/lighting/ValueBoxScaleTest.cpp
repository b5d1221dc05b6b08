#include "lighting/ValueBoxScale.h"
#include "settings/TextField.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vantrel;

TEST(ValueBoxScale, LeadingNumberReadsAsTheCLibraryAndHoldsAtTheLimits) {
    const struct {
        const char* text;
        int32_t number;
    } cases[] = {
        {"abc", 0},
        {"077x9", 77},
        {" \t+12", 12},
        {"-0012", -12},
        {"--5", 0},
        {"99999999999999999999", std::numeric_limits<int32_t>::max()},
        {"-2147483648", std::numeric_limits<int32_t>::min()},
        {"-99999999999999999999", std::numeric_limits<int32_t>::min()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingNumber(c.text), c.number) << c.text;
}

TEST(ValueBoxScale, RoundsToTheNearestStepThenHoldsWithinTheRange) {
    const struct {
        ValueBoxScale scale;
        int32_t a;
        int32_t b;
    } cases[] = {
        {{0, 255, 1}, 300, 255},
        {{0, 255, 1}, -4, 0},
        {{0, 100, 5}, 12, 10},
        {{0, 100, 5}, 13, 15},    // 13 + 2 = 15
        {{0, 100, 4}, 6, 8},      // halves go up
        {{-50, 50, 5}, -13, -10}, // the division cuts toward zero
        {{0, 10, 1}, std::numeric_limits<int32_t>::max(), 10},
        {{0, 1000, 7}, std::numeric_limits<int32_t>::max(), 1000},
        {{0, 100, 0}, 33, 33}, // no step, no rounding, and no division by zero
        {{20, 10, 1}, 15, 20}, // a maximum below the minimum: the minimum wins
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.scale.rounded(c.a), c.b) << c.a << " in " << c.scale.minimum << ".."
                                             << c.scale.maximum << " step " << c.scale.step;
}

TEST(ValueBoxScale, EnterDropsLeadingZerosKeepsOneSignAndRewritesOnlyWhatDiffers) {
    const ValueBoxScale bytes{0, 255, 1};
    const ValueBoxScale signedRange{-50, 50, 1};
    const struct {
        const ValueBoxScale& scale;
        const char* text;
        int32_t previous;
        int32_t value;
        bool rewrite;
    } cases[] = {
        {bytes, "77", 77, 77, false},
        {bytes, "77", 7, 77, true},  // a new value is always written out
        {bytes, "000", 0, 0, true},  // no sign or non-zero digit: the text stays, then reads 0
        {bytes, "007", 7, 7, false}, // from the 7 on the text reads as the value
        {bytes, "300", 255, 255, true},
        {signedRange, "-0012", -12, -12, true}, // "-0012" is not how -12 is written
        {signedRange, "0-7", -7, -7, false},
        {signedRange, "+7", 7, 7, true},
        {signedRange, "+-7", 0, 0, true}, // reads 0; the second sign goes
        {signedRange, "-99", -50, -50, true},
    };
    for (const auto& c : cases) {
        const ValueBoxScale::EnterOutcome outcome = c.scale.afterEnter(c.text, c.previous);
        EXPECT_EQ(outcome.value, c.value) << c.text;
        EXPECT_EQ(outcome.rewrite, c.rewrite) << c.text;
        EXPECT_TRUE(outcome.notify) << c.text;
    }
    EXPECT_FALSE((ValueBoxScale{20, 10, 1}.afterEnter("15", 20).notify));
}

TEST(ValueBoxScale, CharacterLimitCountsTheMaximumAndASignForANegativeMinimum) {
    const struct {
        ValueBoxScale scale;
        int limit;
        bool sign;
    } cases[] = {
        {{0, 255, 1}, 3, false},  {{0, 10, 1}, 2, false}, {{-50, 255, 1}, 4, true},
        {{-1000, 5, 1}, 2, true}, // the maximum's digits decide, not the minimum's
        {{-20, -5, 1}, 3, true},  // "-5" and a sign more
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.scale.characterLimit(), c.limit) << c.scale.minimum << ".." << c.scale.maximum;
        EXPECT_EQ(c.scale.allowsSign(), c.sign) << c.scale.minimum;
    }
}
