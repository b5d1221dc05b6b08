#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace vantrel;
using vantrel::test::TempDir;
using vantrel::test::writeFile;

TEST(ProfileRecord, ResetWritesEveryDefault) {
    TempDir dir;
    writeFile(dir.file("lan.ini"), "[Strings]\r\n1040=Profile\r\n");
    const LanguageStrings strings(dir.file("lan.ini"));

    auto profile = std::make_unique<ProfileRecord>();
    std::memset(profile.get(), 0x5A, sizeof(ProfileRecord));
    resetProfile(*profile, 2, strings);

    EXPECT_EQ(fieldText(profile->ProFileName), "Profile #3");
    EXPECT_EQ(profile->ProFileName[sizeof profile->ProFileName - 1], 0);
    EXPECT_EQ(profile->GameFile[0], 0);
    EXPECT_EQ(profile->LtSwitch, 6);
    EXPECT_EQ(profile->LtEffectType, 2);
    EXPECT_EQ(profile->LtFlag, 1);
    EXPECT_EQ(profile->LtControl, 4);
    EXPECT_EQ(profile->PollingRate, 2);
    EXPECT_EQ(profile->ReportDelay, 8);
    for (int s = 0; s < kEffectSlots; ++s) {
        EXPECT_EQ(profile->Color[s][0], 0x0000FF); // red in the low byte
        EXPECT_EQ(profile->Color[s][5], 0xFFFF00); // cyan
        EXPECT_EQ(profile->LtColor[s], 0);
        EXPECT_EQ(profile->LtPulsation[s], 4);
    }
    EXPECT_EQ(profile->Brightness[17], 10);
    EXPECT_EQ(profile->Direction[1], 0);
    EXPECT_EQ(profile->DIYColor[4][1], 0x0000FF);
    EXPECT_EQ(profile->DIYColorOption[4], 0);
    EXPECT_EQ(profile->CustomColor[4][127], 0);
    EXPECT_EQ(profile->standardkey[0], 41);
    EXPECT_EQ(profile->standardkey[45], 40);
    EXPECT_EQ(profile->standardkey[83], 255);
    EXPECT_EQ(profile->standardkey[111], 88);
    EXPECT_EQ(profile->standardkey[127], 0);
    for (int k = 0; k < kKeyPositions; ++k) {
        const MacroKeyInfo& key = profile->MacroKeyInfo[k];
        EXPECT_EQ(key.keyIndex, k);
        EXPECT_EQ(key.assignType, kAssignStandard);
        EXPECT_EQ(key.eventCount, 0);
        EXPECT_EQ(key.programPath[259], 0);
    }
    // Carried fields that no reset touches.
    EXPECT_EQ(profile->GlobalColor[0], 0x5A5A5A5A);
    EXPECT_EQ(profile->reserved, 0x5A5A5A5A);
}

TEST(ProfileRecord, ResetAllWithoutLanguageFile) {
    const LanguageStrings none;
    auto settings = std::make_unique<SharedBlock>();
    settings->CurrentProfile = 3;
    settings->flagB = 1;
    resetAllProfiles(*settings, none);
    EXPECT_EQ(settings->CurrentProfile, 0);
    EXPECT_EQ(fieldText(settings->profiles[0].ProFileName), " #1");
    EXPECT_EQ(fieldText(settings->profiles[4].ProFileName), " #5");
    EXPECT_EQ(settings->flagB, 1);
}

TEST(TextField, CutsToFitWithoutSplittingACharacter) {
    char field[6];
    copyToField(field, "abcdefgh");
    EXPECT_STREQ(field, "abcde");
    copyToField(field, "abcd\xC3\xA9"); // "abcdé": the two-byte é does not fit
    EXPECT_STREQ(field, "abcd");
    copyToField(field, "ab");
    EXPECT_EQ(std::string(field, 6), std::string("ab\0\0\0\0", 6));

    const char full[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(fieldText(full), "wxyz"); // no terminator: never read past the field
}

TEST(ProfileRecord, PositionsOfTheLayout) {
    // Key 127's entry closes the record, and profile 4 closes the profiles.
    auto settings = std::make_unique<SharedBlock>();
    const auto* base = reinterpret_cast<const char*>(settings.get());
    EXPECT_EQ(reinterpret_cast<const char*>(&settings->profiles[4].MacroKeyInfo[127]) - base +
                  static_cast<std::ptrdiff_t>(sizeof(MacroKeyInfo)),
              337744);
    EXPECT_EQ(reinterpret_cast<const char*>(&settings->profiles[1].standardkey[0]) - base,
              4 + 67548 + 3932);
}
