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
        EXPECT_EQ(EffectTable::pageIndex(EffectTable::pages()[page].effect), page);

    EXPECT_EQ(EffectTable::pageOf(0).skinFile, "Skin_Effect1.ini");
    EXPECT_EQ(EffectTable::pageOf(4).skinFile, "Skin_Effect8.ini");
    EXPECT_EQ(EffectTable::pageOf(6).skinFile, "Skin_Effect4.ini");
    EXPECT_EQ(EffectTable::pageOf(7).skinFile, "Skin_Effect8.ini");
    EXPECT_EQ(EffectTable::pageOf(10).skinFile, "Skin_Effect5.ini");
    EXPECT_EQ(EffectTable::pageOf(11).skinFile, "Skin_Effect2.ini");
    EXPECT_EQ(EffectTable::pageOf(12).skinFile, "Skin_EffectD.ini");
    EXPECT_EQ(EffectTable::pageOf(53).skinFile, "Skin_EffectDIY.ini");
}

TEST(EffectTable, PagesNameTheirSlots) {
    // Effect 12 shows effect 8's colours and effect 11's pulsation.
    EXPECT_EQ(EffectTable::pageOf(12).colourSlot, 8);
    EXPECT_EQ(EffectTable::pageOf(12).pulsationSlot, 11);
    EXPECT_EQ(EffectTable::pageOf(12).directionEntry, 1);
    EXPECT_EQ(EffectTable::pageOf(1).pulsationSlot, 0);
    EXPECT_EQ(EffectTable::pageOf(0).pulsationSlot, EffectPageEntry::kNone);
    EXPECT_TRUE(EffectTable::pageOf(0).refreshRestoresEighthChoice);
    // Directions: pages 2, 6..10 and 12 have them; only 2, 6, 10, 12 restore them.
    std::set<int32_t> withDirection, restoring;
    for (const EffectPageEntry& page : EffectTable::pages()) {
        if (page.directionEntry != EffectPageEntry::kNone)
            withDirection.insert(page.effect);
        if (page.refreshRestoresDirection)
            restoring.insert(page.effect);
        EXPECT_EQ(page.refreshRestoresEighthChoice, page.effect == 0) << page.effect;
    }
    EXPECT_EQ(withDirection, (std::set<int32_t>{2, 6, 7, 8, 9, 10, 12}));
    EXPECT_EQ(restoring, (std::set<int32_t>{2, 6, 10, 12}));
    // DIY effect 51 + t keeps its brightness in entry 13 + t.
    EXPECT_EQ(EffectTable::pageOf(53).brightnessEntry, 15);
    EXPECT_EQ(EffectTable::pageOf(53).kind, EffectPageEntry::Kind::Diy);
}
