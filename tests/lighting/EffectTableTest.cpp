#include "lighting/EffectTable.h"

#include <gtest/gtest.h>

#include <set>

using namespace vantrel;

TEST(EffectTable, MenuOffersSeventeenEffectsButNotTwelve) {
    const auto& commands = EffectTable::menuCommands();
    std::set<int32_t> effects;
    for (int command : commands)
        effects.insert(EffectTable::effectForCommand(command));
    EXPECT_EQ(effects.size(), 17u);
    EXPECT_EQ(effects.count(12), 0u);
    EXPECT_EQ(*effects.begin(), 0);
    EXPECT_EQ(*effects.rbegin(), 55);
    EXPECT_EQ(EffectTable::effectForCommand(1013), 12);
    EXPECT_EQ(EffectTable::effectForCommand(1019), 1); // any other command sets 1
    EXPECT_EQ(EffectTable::effectForCommand(1100), 1);
}

TEST(EffectTable, NamesPagesAndSkins) {
    EXPECT_EQ(EffectTable::labelString(0), 1105);
    EXPECT_EQ(EffectTable::labelString(12), 1117);
    EXPECT_EQ(EffectTable::labelString(51), 1118);
    EXPECT_EQ(EffectTable::labelString(55), 1122);
    EXPECT_EQ(EffectTable::labelString(13), 0);
    EXPECT_EQ(EffectTable::labelString(-1), 0);
    EXPECT_EQ(EffectTable::labelString(56), 0);

    EXPECT_EQ(EffectTable::pageIndex(12), 12);
    EXPECT_EQ(EffectTable::pageIndex(51), 13);
    EXPECT_EQ(EffectTable::pageIndex(55), 17);
    EXPECT_EQ(EffectTable::pageIndex(50), 0);
    EXPECT_EQ(EffectTable::pageIndex(-3), 0);
    for (int page = 0; page < EffectTable::kPageCount; ++page)
        EXPECT_EQ(EffectTable::pageIndex(EffectTable::effectOfPage(page)), page);

    EXPECT_EQ(EffectTable::skinFile(0), "Skin_Effect1.ini");
    EXPECT_EQ(EffectTable::skinFile(4), "Skin_Effect8.ini");
    EXPECT_EQ(EffectTable::skinFile(6), "Skin_Effect4.ini");
    EXPECT_EQ(EffectTable::skinFile(7), "Skin_Effect8.ini");
    EXPECT_EQ(EffectTable::skinFile(10), "Skin_Effect5.ini");
    EXPECT_EQ(EffectTable::skinFile(11), "Skin_Effect2.ini");
    EXPECT_EQ(EffectTable::skinFile(12), "Skin_EffectD.ini");
    EXPECT_EQ(EffectTable::skinFile(53), "Skin_EffectDIY.ini");
}
