#include "link/ChangeFlags.h"
#include "macro/MacroRecord.h"
#include "settings/IniFile.h"
#include "settings/ProfileDefaults.h"
#include "settings/ProfileFile.h"
#include "settings/TextField.h"
#include "settings/WorkingSet.h"
#include "tests/link/LinkTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace vantrel;
using vantrel::test::ProgramUnderTest;
using vantrel::test::readFile;
using vantrel::test::writeFile;

namespace {

// A link whose block lives in this process; it notes what happened, in order.
class FakeLink final : public DeviceLink {
public:
    explicit FakeLink(OpenResult result, std::vector<std::string>& log)
        : m_result(result), m_log(log) {
        resetAllProfiles(*block, LanguageStrings());
    }

    OpenResult openLink() override { return m_result; }
    bool readBlock(SharedBlock& target) override {
        if (readFails)
            return false;
        target = *block;
        return true;
    }
    bool writeBlock(const SharedBlock& source) override {
        m_log.push_back("writeBlock");
        *block = source;
        return true;
    }
    bool notifyMonitor(uint32_t code) override {
        m_log.push_back("notify " + std::to_string(code));
        filesAtNotify = fileExists(filesFolder + "config/Default0.gkp");
        configAtNotify = readFile(filesFolder + "config.ini");
        return monitorPresent;
    }
    void closeLink() override {}

    std::unique_ptr<SharedBlock> block = std::make_unique<SharedBlock>();
    bool readFails = false;
    bool monitorPresent = true;
    bool filesAtNotify = false;
    std::string configAtNotify;
    std::string filesFolder;

private:
    OpenResult m_result;
    std::vector<std::string>& m_log;
};

} // namespace

TEST(LinkProtocol, StartWithoutMonitorReadsTheWorkingFiles) {
    ProgramUnderTest program;
    auto stored = std::make_unique<ProfileRecord>();
    resetProfile(*stored, 1, LanguageStrings());
    copyToField(stored->ProFileName, "From file");
    ASSERT_TRUE(writeProfile(program.folder.file("config/Default1.gkp"), *stored));
    writeFile(program.folder.file("config.ini"), "[Setting]\r\nCurrentProfile=1\r\n");

    FakeLink link(DeviceLink::OpenResult::Absent, program.host.log);
    link.monitorPresent = false;
    program.start(link);

    EXPECT_TRUE(program.host.messages.empty());
    EXPECT_FALSE(program.protocol->linkOpen());
    EXPECT_EQ(program.edited->CurrentProfile, 1);
    EXPECT_EQ(fieldText(program.edited->profiles[1].ProFileName), "From file");
    EXPECT_EQ(program.host.log.back(), "refresh");
    // The store file is written at start-up even when empty.
    EXPECT_TRUE(fileExists(program.folder.file("config/sequence.dat")));

    program.host.log.clear();
    program.protocol->apply(kApplyCode);
    EXPECT_EQ(program.host.log,
              (std::vector<std::string>{"busy", "disable", "notify 1", "enable", "idle"}));
    EXPECT_FALSE(program.host.busy);
    EXPECT_TRUE(program.host.applyEnabled);
}

TEST(LinkProtocol, ABlockThatCannotBeMappedIsReportedOnce) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::CannotMap, program.host.log);
    program.start(link);
    EXPECT_EQ(program.host.messages, std::vector<std::string>{"Could not map view of file."});
    EXPECT_FALSE(program.protocol->linkOpen());
    EXPECT_EQ(fieldText(program.edited->profiles[0].ProFileName), " #1");
    program.protocol->apply(kApplyCode);
    EXPECT_EQ(std::count(program.host.log.begin(), program.host.log.end(), "writeBlock"), 0);
}

TEST(LinkProtocol, StartWithMonitorTakesTheBlockWithoutFlags) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    ChangeFlags::markAllChanged(*link.block);
    link.block->CurrentProfile = 9;
    copyToField(link.block->profiles[3].ProFileName, "From monitor");
    program.start(link);

    EXPECT_EQ(program.edited->CurrentProfile, 0);
    EXPECT_EQ(fieldText(program.edited->profiles[3].ProFileName), "From monitor");
    EXPECT_EQ(program.edited->flagB, 0);
    EXPECT_EQ(program.applied->keyChanged[4][127], 0);
    EXPECT_EQ(program.edited->flagsG[2], 0);
}

TEST(LinkProtocol, AnUnreadableBlockAtStartFallsBackToTheFiles) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    link.readFails = true;
    program.start(link);
    EXPECT_TRUE(program.protocol->linkOpen());
    // Factory profiles, not the zeroed copy the failed read left.
    EXPECT_EQ(program.edited->profiles[0].LtSwitch, 6);
    EXPECT_EQ(program.edited->profiles[4].MacroKeyInfo[0].assignType, kAssignStandard);
}

TEST(LinkProtocol, ApplyWritesTheBlockAndNotifiesBeforeTheFiles) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    link.filesFolder = program.folder.folder();
    program.start(link);

    program.edited->CurrentProfile = 2;
    ChangeFlags::markProfileLoaded(*program.edited, 2);
    program.edited->profiles[2].Brightness[0] = 3;
    program.host.log.clear();
    program.protocol->apply(kApplyAfterReset);

    EXPECT_EQ(program.host.log,
              (std::vector<std::string>{"busy", "disable", "writeBlock", "notify 3"}));
    EXPECT_FALSE(link.filesAtNotify);
    // The OSD blob is back in config.ini before the monitor hears of the
    // apply; the current profile and the stamp come after.
    EXPECT_NE(link.configAtNotify.find("[OSDSetting]"), std::string::npos);
    EXPECT_EQ(link.configAtNotify.find("CurrentProfile"), std::string::npos);
    EXPECT_EQ(link.configAtNotify.find("HidAccessCode"), std::string::npos);
    EXPECT_TRUE(program.host.busy); // until the monitor answers
    EXPECT_FALSE(program.host.applyEnabled);

    // The block carried the marks; the program's copies are clear again.
    EXPECT_EQ(link.block->keyChanged[2][0], 1);
    EXPECT_EQ(link.block->flagsA[2], 1);
    EXPECT_EQ(link.block->flagB, 0);
    EXPECT_EQ(program.edited->keyChanged[2][0], 0);
    EXPECT_EQ(0, std::memcmp(program.edited.get(), program.applied.get(), sizeof(SharedBlock)));

    // The files hold the applied settings and the stamp.
    const IniFile config(program.folder.file("config.ini"));
    EXPECT_EQ(config.readInt("Setting", "CurrentProfile", -1), 2);
    EXPECT_EQ(config.readText("HidAccessCode", "Code", "").substr(0, 8), "00F15365");
    EXPECT_EQ(config.readText("OSDSetting", "config", "").size(), 682u);
    auto back = std::make_unique<ProfileRecord>();
    readProfile(program.folder.file("config/Default2.gkp"), *back);
    EXPECT_EQ(back->Brightness[0], 3);

    program.protocol->handleMessage(kMsgApplyFinished);
    EXPECT_FALSE(program.host.busy);
    EXPECT_TRUE(program.host.applyEnabled);
}

TEST(LinkProtocol, TheOsdBlobIsCarriedUnchanged) {
    ProgramUnderTest program;
    uint8_t osd[kOsdSettingsSize];
    for (size_t i = 0; i < sizeof osd; ++i)
        osd[i] = static_cast<uint8_t>(255 - i);
    ASSERT_TRUE(WorkingSet(program.folder.folder()).writeOsdSettings(osd));
    const std::string before =
        IniFile(program.folder.file("config.ini")).readText("OSDSetting", "config", "");
    FakeLink link(DeviceLink::OpenResult::Absent, program.host.log);
    program.start(link);
    program.protocol->apply(kApplyCode);
    EXPECT_EQ(IniFile(program.folder.file("config.ini")).readText("OSDSetting", "config", ""),
              before);
}

TEST(LinkProtocol, DeviceChangeKeepsUnappliedEditsButTakesFiveFields) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    program.start(link);
    program.edited->profiles[2].Color[3][0] = 0x123456; // an unapplied colour edit
    program.edited->profiles[2].LtPulsation[1] = 7;

    link.block->CurrentProfile = 2;
    ProfileRecord& device = link.block->profiles[2];
    device.LtSwitch = 51;
    device.LtControl = 9;
    device.PollingRate = 8;
    device.ReportDelay = 7;
    device.LtFlag = 6;
    device.LtEffectType = 99;
    device.Color[3][0] = 0;
    program.host.log.clear();
    program.protocol->handleMessage(kMsgDeviceChanged);

    const ProfileRecord& p = program.edited->profiles[2];
    EXPECT_EQ(program.edited->CurrentProfile, 2);
    EXPECT_EQ(p.LtSwitch, 51);
    EXPECT_EQ(p.LtControl, 9);
    EXPECT_EQ(p.PollingRate, 8);
    EXPECT_EQ(p.ReportDelay, 7);
    EXPECT_EQ(p.LtFlag, 6);
    EXPECT_EQ(p.LtEffectType, 2);       // not one of the five
    EXPECT_EQ(p.Color[3][0], 0x123456); // the edit stays
    EXPECT_EQ(p.LtPulsation[1], 7);
    EXPECT_EQ(program.host.log, std::vector<std::string>{"refresh"});
}

TEST(LinkProtocol, BlockChangeDropsUnappliedEdits) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    program.start(link);
    program.edited->profiles[0].Brightness[4] = 1;
    ChangeFlags::markKeyChanged(*program.edited, 0, 5);
    copyToField(link.block->profiles[0].ProFileName, "Renamed by device");
    link.block->flagsE[0] = 1;
    program.protocol->handleMessage(kMsgBlockChanged);
    EXPECT_EQ(program.edited->profiles[0].Brightness[4], 10);
    EXPECT_EQ(fieldText(program.edited->profiles[0].ProFileName), "Renamed by device");
    EXPECT_EQ(program.edited->keyChanged[0][5], 0);
    EXPECT_EQ(program.edited->flagsE[0], 0);

    program.protocol->handleMessage(kMsgIgnored);
    program.protocol->handleMessage(4242);
    EXPECT_EQ(fieldText(program.edited->profiles[0].ProFileName), "Renamed by device");
}

TEST(LinkProtocol, FirmwareChangeRereadsVersionBlockAndMacros) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    writeFile(program.folder.file("config.ini"), "[Setting]\r\nFWVersion=501\r\n");
    program.start(link);
    EXPECT_EQ(program.protocol->firmwareVersionText(), "N/A"); // start-up believes 100..500
    EXPECT_EQ(program.macros.count(), 0);

    MacroKeyInfo& key = link.block->profiles[1].MacroKeyInfo[3];
    key.assignType = kAssignMacro;
    copyToField(key.macroName, "Combo");
    key.eventCount = 2;
    key.events[0] = {4, kKeyPress, 0};
    key.events[1] = {4, kKeyRelease, 0};
    program.host.log.clear();
    program.protocol->handleMessage(kMsgFirmwareChanged);

    EXPECT_EQ(program.protocol->firmwareVersionText(), "5.01");
    EXPECT_EQ(program.host.log, (std::vector<std::string>{"firmware", "refresh"}));
    EXPECT_EQ(program.edited->profiles[1].MacroKeyInfo[3].assignType, kAssignMacro);
    ASSERT_EQ(program.macros.count(), 1);
    EXPECT_STREQ(program.macros.macroAt(0)->name, "Combo");
    EXPECT_EQ(IniFile(program.macros.filePath()).readInt("Macros", "number", -1), 1);

    IniFile config(program.folder.file("config.ini"));
    config.writeInt("Setting", "FWVersion", 99);
    ASSERT_TRUE(config.save());
    program.protocol->handleMessage(kMsgFirmwareChanged);
    EXPECT_EQ(program.protocol->firmwareVersionText(), "N/A");
}

TEST(LinkProtocol, LoadedProfileCarriesItsFlagsToTheBlock) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    program.start(link);
    program.edited->CurrentProfile = 1;
    ChangeFlags::markProfileLoaded(*program.edited, 1);
    program.protocol->apply(kApplyCode);

    for (int k = 0; k < kKeyPositions; ++k)
        EXPECT_EQ(link.block->keyChanged[1][k], 1);
    EXPECT_EQ(link.block->flagsA[1] + link.block->flagsC[1] + link.block->flagsD[1], 3);
    EXPECT_EQ(link.block->flagB, 0);
    for (int p = 0; p < kProfileCount; ++p) {
        EXPECT_EQ(link.block->flagsF[p], 0);
        EXPECT_EQ(link.block->flagsG[p], 0);
        if (p != 1) {
            EXPECT_EQ(link.block->keyChanged[p][0], 0);
        }
    }
}

TEST(LinkProtocol, EveryApplySavesTheMacroStore) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    program.start(link);
    const std::string store = program.macros.filePath();
    for (int n = 1; n <= 2; ++n) {
        MacroRecord macro{};
        copyToField(macro.name, "Macro " + std::to_string(n));
        program.macros.appendMacro(macro);
        program.protocol->apply(kApplyCode);
        EXPECT_EQ(IniFile(store).readInt("Macros", "number", -1), n);
    }
}

TEST(LinkProtocol, DeviceChangeWithAnOutOfRangeProfileOrAnUnreadableBlock) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Open, program.host.log);
    program.start(link);

    // A profile number outside 0..4 from the monitor is taken as profile 0.
    program.edited->CurrentProfile = 3;
    link.block->CurrentProfile = 9;
    link.block->profiles[0].LtSwitch = 44;
    program.protocol->handleMessage(kMsgDeviceChanged);
    EXPECT_EQ(program.edited->CurrentProfile, 0);
    EXPECT_EQ(program.edited->profiles[0].LtSwitch, 44);
    EXPECT_EQ(program.applied->CurrentProfile, 0);

    // A block that cannot be read leaves the applied copy as it was, and the
    // five fields come from it.
    program.edited->CurrentProfile = 2;
    program.edited->profiles[0].LtSwitch = 12;
    program.edited->profiles[0].Brightness[1] = 5;
    link.block->profiles[0].LtSwitch = 77;
    link.readFails = true;
    program.host.log.clear();
    program.protocol->handleMessage(kMsgDeviceChanged);
    EXPECT_EQ(program.edited->CurrentProfile, 0);
    EXPECT_EQ(program.edited->profiles[0].LtSwitch, 44);
    EXPECT_EQ(program.edited->profiles[0].Brightness[1], 5); // not one of the five
    EXPECT_EQ(program.host.log, std::vector<std::string>{"refresh"});
}

TEST(LinkProtocol, BlockAndFirmwareMessagesWithTheLinkClosedTakeTheAppliedCopy) {
    ProgramUnderTest program;
    FakeLink link(DeviceLink::OpenResult::Absent, program.host.log);
    link.readFails = true; // a closed link copies nothing
    writeFile(program.folder.file("config.ini"), "[Setting]\r\nFWVersion=120\r\n");
    program.start(link);
    const auto applied = std::make_unique<SharedBlock>(*program.applied);

    program.edited->profiles[1].Brightness[0] = 1;
    ChangeFlags::markKeyChanged(*program.edited, 1, 4);
    program.host.log.clear();
    program.protocol->handleMessage(kMsgBlockChanged);
    EXPECT_EQ(0, std::memcmp(program.edited.get(), applied.get(), sizeof(SharedBlock)));
    EXPECT_EQ(program.host.log, std::vector<std::string>{"refresh"});

    // 1254 still reads the version and merges the keys' macros into the store.
    MacroKeyInfo& key = program.edited->profiles[2].MacroKeyInfo[8];
    key.assignType = kAssignMacro;
    copyToField(key.macroName, "Unapplied");
    writeFile(program.folder.file("config.ini"), "[Setting]\r\nFWVersion=130\r\n");
    program.host.log.clear();
    program.protocol->handleMessage(kMsgFirmwareChanged);
    EXPECT_EQ(program.protocol->firmwareVersionText(), "1.30");
    EXPECT_EQ(0, std::memcmp(program.edited.get(), applied.get(), sizeof(SharedBlock)));
    EXPECT_EQ(program.host.log, (std::vector<std::string>{"firmware", "refresh"}));
    EXPECT_EQ(program.macros.count(), 0);
    EXPECT_EQ(IniFile(program.macros.filePath()).readInt("Macros", "number", -1), 0);
}
