#include "app/PlatformChoice.h"

#include <gtest/gtest.h>

using vantrel::PlatformChoice;

TEST(PlatformChoice, XcbWhereAnXDisplayIsThereUnlessTheUserChose) {
    EXPECT_TRUE(PlatformChoice::asksForXcb(nullptr, ":0"));
    EXPECT_TRUE(PlatformChoice::asksForXcb("", ":1"));
    EXPECT_FALSE(PlatformChoice::asksForXcb("wayland", ":0"));
    EXPECT_FALSE(PlatformChoice::asksForXcb("offscreen", ":0"));
    EXPECT_FALSE(PlatformChoice::asksForXcb(nullptr, nullptr));
    EXPECT_FALSE(PlatformChoice::asksForXcb(nullptr, ""));
}
