#include "skin/DigitFilter.h"

#include <gtest/gtest.h>

using namespace vantrel;

TEST(DigitFilter, KeepsTheLongestLeadingPartOfAllowedCharacters) {
    EXPECT_EQ(DigitFilter::keptLength(u"12a34", false), 2u);
    EXPECT_EQ(DigitFilter::keptLength(u"0123456789", false), 10u);
    EXPECT_EQ(DigitFilter::keptLength(u"", false), 0u);
    EXPECT_EQ(DigitFilter::keptLength(u"12 3", false), 2u);
    EXPECT_EQ(DigitFilter::keptLength(u"x12", false), 0u);
    // Digits of other scripts are not digits here.
    EXPECT_EQ(DigitFilter::keptLength(u"1\uFF12", false), 1u);
}

TEST(DigitFilter, SignsPassOnlyWhenAllowedAndAnywhere) {
    EXPECT_EQ(DigitFilter::keptLength(u"-5", false), 0u);
    EXPECT_EQ(DigitFilter::keptLength(u"-5", true), 2u);
    EXPECT_EQ(DigitFilter::keptLength(u"+1-2", true), 4u);
    EXPECT_EQ(DigitFilter::keptLength(u"12-", false), 2u);
    EXPECT_EQ(DigitFilter::keptLength(u"-1.5", true), 2u);
}
