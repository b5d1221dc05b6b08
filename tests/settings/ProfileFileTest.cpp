#include "settings/ProfileFile.h"
#include "settings/IniFile.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

using namespace vantrel;
using vantrel::test::readFile;
using vantrel::test::TempDir;
using vantrel::test::writeFile;

namespace {

std::unique_ptr<ProfileRecord> randomProfile(unsigned seed) {
    auto profile = std::make_unique<ProfileRecord>();
    std::mt19937 random(seed);
    auto* bytes = reinterpret_cast<unsigned char*>(profile.get());
    for (size_t i = 0; i < sizeof(ProfileRecord); ++i)
        bytes[i] = static_cast<unsigned char>(random());
    for (MacroKeyInfo& key : profile->MacroKeyInfo) {
        key.macroName[19] = '\0';
        key.programPath[259] = '\0';
        key.eventCount %= kMacroEventSlots + 1;
    }
    copyToField(profile->ProFileName, "R\xC3\xA9glage = 1 ; [x]");
    copyToField(profile->GameFile, "/home/user/games/run game.sh");
    return profile;
}

std::unique_ptr<ProfileRecord> defaultProfile() {
    auto profile = std::make_unique<ProfileRecord>();
    resetProfile(*profile, 0, LanguageStrings());
    return profile;
}

bool sameExceptReserved(const ProfileRecord& a, const ProfileRecord& b) {
    constexpr size_t r = offsetof(ProfileRecord, reserved);
    const auto* x = reinterpret_cast<const unsigned char*>(&a);
    const auto* y = reinterpret_cast<const unsigned char*>(&b);
    return std::memcmp(x, y, r) == 0 &&
           std::memcmp(x + r + 4, y + r + 4, sizeof(ProfileRecord) - r - 4) == 0;
}

} // namespace

TEST(ProfileFile, RoundTripIsExactButForReserved) {
    TempDir dir;
    const auto original = randomProfile(7);
    ASSERT_TRUE(writeProfile(dir.file("p.gkp"), *original));

    auto back = std::make_unique<ProfileRecord>();
    back->reserved = 1234;
    readProfile(dir.file("p.gkp"), *back);
    EXPECT_TRUE(sameExceptReserved(*original, *back));
    EXPECT_EQ(back->reserved, 1234);
    EXPECT_EQ(readFile(dir.file("p.gkp")).find("reserved"), std::string::npos);
}

TEST(ProfileFile, KeysAreWrittenInTheirFixedOrder) {
    TempDir dir;
    ASSERT_TRUE(writeProfile(dir.file("p.gkp"), *defaultProfile()));
    const std::string text = readFile(dir.file("p.gkp"));
    const char* order[] = {
        "ProFileName=",    "GameFile=",       "LtSwitch=6",   "LtEffectType=",  "LtFlag=",
        "LtControl=",      "PollingRate=",    "ReportDelay=", "standardkey=",   "LtPulsation=",
        "LtColor=",        "Brightness=",     "Direction=",   "CustomColor=",   "Color=",
        "GlobalColor=",    "DIYColorOption=", "DIYColor=",    "MacroKeyInfo0=", "MacroKeyInfo1=",
        "MacroKeyInfo127="};
    size_t at = 0;
    for (const char* key : order) {
        const size_t found = text.find(std::string("\r\n") + key, at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found + 1;
    }
    EXPECT_EQ(text.find("[Setting]"), 0u);
}

TEST(ProfileFile, MissingKeysFollowTheirRules) {
    TempDir dir;
    const auto written = randomProfile(11);
    ASSERT_TRUE(writeProfile(dir.file("p.gkp"), *written));
    // Hand-edit: drop PollingRate, Color and ProFileName, rename a key's case.
    std::string text = readFile(dir.file("p.gkp"));
    auto dropLine = [&text](const std::string& key) {
        const size_t start = text.find("\r\n" + key + "=") + 2;
        text.erase(start, text.find("\r\n", start) + 2 - start);
    };
    dropLine("PollingRate");
    dropLine("Color");
    dropLine("ProFileName");
    text.replace(text.find("standardkey="), 12, "standardKey=");
    writeFile(dir.file("p.gkp"), text);

    auto target = defaultProfile();
    readProfile(dir.file("p.gkp"), *target);
    EXPECT_EQ(target->PollingRate, -1);
    EXPECT_EQ(target->Color[0][0], kRed); // kept from before the read
    EXPECT_EQ(target->Color[11][6], kWhite);
    EXPECT_EQ(target->ProFileName[0], 0); // an absent text key empties the field
    EXPECT_EQ(0, std::memcmp(target->standardkey, written->standardkey, kKeyPositions));
    EXPECT_EQ(target->LtSwitch, written->LtSwitch);
}

TEST(ProfileFile, DamagedFilesKeepWhatCannotBeRead) {
    TempDir dir;
    const auto written = randomProfile(3);
    ASSERT_TRUE(writeProfile(dir.file("p.gkp"), *written));
    std::string text = readFile(dir.file("p.gkp"));

    // A bad checksum on one blob, garbage lines, then the file cut in the middle
    // of MacroKeyInfo5.
    const size_t brightness = text.find("Brightness=") + 11;
    const size_t end = text.find("\r\n", brightness);
    text[end - 1] = text[end - 1] == '0' ? '1' : '0';
    text.insert(text.find("Direction="), "\x7f\x01 garbage ]]] [[\r\n=\r\n");
    text.resize(text.find("MacroKeyInfo5=") + 100);
    writeFile(dir.file("p.gkp"), text);

    auto target = defaultProfile();
    readProfile(dir.file("p.gkp"), *target);
    EXPECT_EQ(target->Brightness[0], 10);
    EXPECT_EQ(0, std::memcmp(target->Direction, written->Direction, sizeof target->Direction));
    EXPECT_EQ(
        0, std::memcmp(&target->MacroKeyInfo[4], &written->MacroKeyInfo[4], sizeof(MacroKeyInfo)));
    EXPECT_EQ(target->MacroKeyInfo[5].keyIndex, 5);
    EXPECT_EQ(target->MacroKeyInfo[5].assignType, kAssignStandard);
    EXPECT_EQ(target->MacroKeyInfo[127].assignType, kAssignStandard);
}

TEST(ProfileFile, OverlongTextIsCutAndTerminated) {
    TempDir dir;
    writeFile(dir.file("p.gkp"), "[Setting]\nProFileName=" + std::string(600, 'n') + "\nGameFile=" +
                                     std::string(499, 'g') + "\xE2\x82\xAC" + "tail\n");
    auto target = defaultProfile();
    readProfile(dir.file("p.gkp"), *target);
    EXPECT_EQ(fieldText(target->ProFileName), std::string(249, 'n'));
    // The euro sign would straddle the last byte: the cut falls before it.
    EXPECT_EQ(fieldText(target->GameFile), std::string(499, 'g'));
    EXPECT_EQ(target->GameFile[501], 0);
}

TEST(ProfileFile, KeyEntriesAreMadeSafeWhenRead) {
    TempDir dir;
    MacroKeyInfo wild;
    std::memset(&wild, 'x', sizeof wild); // no terminators anywhere
    wild.eventCount = 300;
    IniFile file(dir.file("p.gkp"));
    file.writeBlob("Setting", "MacroKeyInfo7", &wild, sizeof wild);
    ASSERT_TRUE(file.save());

    auto target = defaultProfile();
    readProfile(dir.file("p.gkp"), *target);
    const MacroKeyInfo& key = target->MacroKeyInfo[7];
    EXPECT_EQ(key.eventCount, kMacroEventSlots);
    EXPECT_EQ(fieldText(key.macroName), std::string(19, 'x'));
    EXPECT_EQ(fieldText(key.programPath), std::string(259, 'x'));
}

TEST(ProfileFile, WritingOverAFileKeepsForeignKeys) {
    TempDir dir;
    writeFile(dir.file("p.gkp"),
              "[Setting]\r\nLtSwitch=99\r\nVendorNote=keep\r\n[Extra]\r\nx=1\r\n");
    ASSERT_TRUE(writeProfile(dir.file("p.gkp"), *defaultProfile()));
    const IniFile back(dir.file("p.gkp"));
    EXPECT_EQ(back.readInt("Setting", "LtSwitch", 0), 6);
    EXPECT_EQ(back.readText("Setting", "VendorNote", ""), "keep");
    EXPECT_EQ(back.readInt("Extra", "x", 0), 1);
}

TEST(ProfileFile, FileExists) {
    TempDir dir;
    EXPECT_FALSE(fileExists(dir.file("none.gkp")));
    writeFile(dir.file("some.gkp"), "");
    EXPECT_TRUE(fileExists(dir.file("some.gkp")));
}
