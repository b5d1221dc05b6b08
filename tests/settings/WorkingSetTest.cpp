#include "settings/WorkingSet.h"
#include "settings/IniFile.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/ProfileFile.h"
#include "settings/TextField.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

using namespace vantrel;
using vantrel::test::readFile;
using vantrel::test::TempDir;
using vantrel::test::writeFile;

namespace {

struct Fixture {
    TempDir dir;
    LanguageStrings strings;
    WorkingSet files{dir.folder()};
    std::unique_ptr<SharedBlock> settings = std::make_unique<SharedBlock>();

    Fixture() {
        writeFile(dir.file("lan.ini"), "[Strings]\n1040=Profile\n");
        strings = LanguageStrings(dir.file("lan.ini"));
    }
};

} // namespace

TEST(WorkingSet, MissingFilesGiveFactoryProfilesAndTheFirstProfile) {
    Fixture f;
    f.settings->CurrentProfile = 3;
    f.files.readWorkingSet(*f.settings, f.strings);
    EXPECT_EQ(f.settings->CurrentProfile, 0); // -1 from the missing file
    for (int n = 0; n < kProfileCount; ++n)
        EXPECT_EQ(fieldText(f.settings->profiles[n].ProFileName),
                  "Profile #" + std::to_string(n + 1));
    EXPECT_EQ(f.files.readFirmwareVersion(), 100);
}

TEST(WorkingSet, CurrentProfileIsBroughtIntoRange) {
    Fixture f;
    for (const auto& [stored, expected] :
         {std::pair{"4", 4}, {"2", 2}, {"5", 0}, {"-1", 0}, {"junk", 0}, {"4294967299", 3}}) {
        writeFile(f.dir.file("config.ini"), std::string("[Setting]\nCurrentProfile=") + stored);
        f.files.readWorkingSet(*f.settings, f.strings);
        EXPECT_EQ(f.settings->CurrentProfile, expected) << stored;
    }
}

TEST(WorkingSet, WrittenSetReadsBack) {
    Fixture f;
    resetAllProfiles(*f.settings, f.strings);
    f.settings->CurrentProfile = 3;
    copyToField(f.settings->profiles[2].ProFileName, "Shooter");
    f.settings->profiles[4].MacroKeyInfo[9].assignType = kAssignMacro;
    // The monitor's own value in config.ini must survive the write.
    writeFile(f.dir.file("config.ini"), "[Setting]\r\nFWVersion=102\r\n");
    ASSERT_TRUE(f.files.writeWorkingSet(*f.settings, 0));

    auto back = std::make_unique<SharedBlock>();
    f.files.readWorkingSet(*back, LanguageStrings());
    EXPECT_EQ(back->CurrentProfile, 3);
    EXPECT_EQ(fieldText(back->profiles[2].ProFileName), "Shooter");
    EXPECT_EQ(fieldText(back->profiles[0].ProFileName), "Profile #1");
    EXPECT_EQ(back->profiles[4].MacroKeyInfo[9].assignType, kAssignMacro);
    EXPECT_EQ(f.files.readFirmwareVersion(), 102);
    EXPECT_TRUE(fileExists(f.files.profilePath(4)));
    EXPECT_EQ(f.files.profilePath(4), f.dir.folder() + "config/Default4.gkp");
}

TEST(WorkingSet, OsdSettingsAndChangeStamp) {
    Fixture f;
    uint8_t osd[kOsdSettingsSize] = {};
    f.files.readOsdSettings(osd); // no file: stays zero
    EXPECT_EQ(osd[0], 0);
    for (size_t i = 0; i < kOsdSettingsSize; ++i)
        osd[i] = static_cast<uint8_t>(i * 3);
    ASSERT_TRUE(f.files.writeOsdSettings(osd));
    resetAllProfiles(*f.settings, f.strings);
    ASSERT_TRUE(f.files.writeWorkingSet(*f.settings, 0x12345678));

    uint8_t back[kOsdSettingsSize] = {};
    f.files.readOsdSettings(back);
    EXPECT_EQ(0, std::memcmp(osd, back, kOsdSettingsSize));

    const IniFile config(f.files.configPath());
    EXPECT_EQ(config.readText("HidAccessCode", "Code", ""), "78563412000000000000000000000000"
                                                            "14");
}

TEST(WorkingSet, FirmwareVersionText) {
    using enum FirmwareReading;
    EXPECT_EQ(firmwareVersionText(99, StartUp), "N/A");
    EXPECT_EQ(firmwareVersionText(100, StartUp), "1.00");
    EXPECT_EQ(firmwareVersionText(102, StartUp), "1.02");
    EXPECT_EQ(firmwareVersionText(500, StartUp), "5.00");
    EXPECT_EQ(firmwareVersionText(501, StartUp), "N/A");
    EXPECT_EQ(firmwareVersionText(-5, StartUp), "N/A");
    EXPECT_EQ(firmwareVersionText(99, Notification), "N/A");
    EXPECT_EQ(firmwareVersionText(100, Notification), "1.00");
    EXPECT_EQ(firmwareVersionText(501, Notification), "5.01");
    EXPECT_EQ(firmwareVersionText(1234, Notification), "1.234");
    EXPECT_EQ(firmwareVersionText(-5, Notification), "N/A");
}

TEST(WorkingSet, FolderNamesAndDamagedBlobsKeepFactoryValues) {
    Fixture f;
    auto factory = std::make_unique<SharedBlock>();
    resetAllProfiles(*factory, f.strings);
    copyToField(factory->profiles[1].ProFileName, "Saved");
    factory->profiles[2].Brightness[0] = 3;
    ASSERT_TRUE(f.files.writeWorkingSet(*factory, 0));
    // Profile 0: a folder in place of the file. Profile 1: "Brightness" fails
    // its checksum and "Color" is gone. Profile 2 is whole.
    std::filesystem::remove(f.files.profilePath(0));
    std::filesystem::create_directory(f.files.profilePath(0));
    std::string text = readFile(f.files.profilePath(1));
    const size_t brightness = text.find("Brightness=") + 11;
    text[brightness] = text[brightness] == '0' ? '1' : '0';
    const size_t color = text.find("\r\nColor=");
    text.erase(color, text.find("\r\n", color + 2) - color);
    writeFile(f.files.profilePath(1), text);

    std::memset(f.settings.get(), 0, sizeof(SharedBlock));
    f.files.readWorkingSet(*f.settings, f.strings);
    const ProfileRecord* p = f.settings->profiles;
    EXPECT_EQ(fieldText(p[0].ProFileName), "Profile #1");
    EXPECT_EQ(p[0].LtSwitch, 6);
    EXPECT_EQ(p[0].MacroKeyInfo[0].assignType, kAssignStandard);
    EXPECT_EQ(fieldText(p[1].ProFileName), "Saved");
    EXPECT_EQ(
        0, std::memcmp(p[1].Brightness, factory->profiles[1].Brightness, sizeof p[1].Brightness));
    EXPECT_EQ(0, std::memcmp(p[1].Color, factory->profiles[1].Color, sizeof p[1].Color));
    EXPECT_EQ(0, std::memcmp(&p[2], &factory->profiles[2], sizeof(ProfileRecord)));
}
