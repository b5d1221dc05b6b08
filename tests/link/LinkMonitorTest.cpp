// The program's link against the real monitor, in a thread of this process.
#include "link/ChangeFlags.h"
#include "link/LinkNames.h"
#include "link/MonitorLink.h"
#include "link/RobustMutex.h"
#include "link/RuntimeDirectory.h"
#include "monitor/service/Monitor.h"
#include "monitor/service/MonitorCommands.h"
#include "settings/IniFile.h"
#include "settings/TextField.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/link/RunningMonitor.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace vantrel;
using namespace std::chrono_literals;
using vantrel::test::ProgramUnderTest;
using vantrel::test::RunningMonitor;
using vantrel::test::TempDir;

namespace {

// Waits for the program's mailbox to hold something, then handles it.
bool receiveWithin(LinkProtocol& protocol, std::chrono::milliseconds limit) {
    pollfd fd{protocol.socketFd(), POLLIN, 0};
    if (::poll(&fd, 1, static_cast<int>(limit.count())) != 1)
        return false;
    protocol.receivePending();
    return true;
}

struct LinkSetup {
    TempDir runtimeRoot;
    std::string dir = *RuntimeDirectory::locate(runtimeRoot.folder().c_str(), ::getuid());
    ProgramUnderTest program;
    MonitorLink link{dir};
};

// A process that takes the block's mutex and dies holding it.
void dieHoldingTheMutex(const std::string& dir) {
    const pid_t child = ::fork();
    if (child == 0) {
        RobustMutex inChild;
        ::_exit(inChild.open(dir + kMutexFileName) &&
                        inChild.lock() == RobustMutex::LockResult::Locked
                    ? 0
                    : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);
}

} // namespace

TEST(LinkWithMonitor, ApplyStaysBusyUntilTheMonitorAnswers) {
    LinkSetup s;
    RunningMonitor monitor(s.dir, s.program.folder.folder(), 300ms);
    ASSERT_TRUE(monitor.published);
    s.program.start(s.link, s.dir);
    ASSERT_TRUE(s.program.protocol->linkOpen());
    EXPECT_EQ(fieldText(s.program.edited->profiles[0].ProFileName), " #1");

    s.program.edited->CurrentProfile = 3;
    ChangeFlags::markKeyChanged(*s.program.edited, 3, 17);
    ChangeFlags::markProfileChanged(*s.program.edited, 1);
    s.program.protocol->apply(kApplyCode);
    EXPECT_TRUE(s.program.host.busy);
    EXPECT_FALSE(s.program.host.applyEnabled);

    // The block holds exactly the marks made since the last apply.
    std::string flags;
    ASSERT_TRUE(MonitorCommands::flags(s.dir, flags));
    EXPECT_EQ(flags, "CurrentProfile 3\n"
                     "profile 0: keys none flagsA 0 flagsC 0 flagsD 0 flagsE 0 flagsF 0 flagsG 0\n"
                     "profile 1: keys 0-127 flagsA 1 flagsC 1 flagsD 1 flagsE 0 flagsF 1 flagsG 1\n"
                     "profile 2: keys none flagsA 0 flagsC 0 flagsD 0 flagsE 0 flagsF 0 flagsG 0\n"
                     "profile 3: keys 17 flagsA 0 flagsC 0 flagsD 0 flagsE 0 flagsF 0 flagsG 0\n"
                     "profile 4: keys none flagsA 0 flagsC 0 flagsD 0 flagsE 0 flagsF 0 flagsG 0\n"
                     "flagB 1\n");
    EXPECT_EQ(s.program.edited->keyChanged[3][17], 0);
    EXPECT_EQ(s.program.applied->flagB, 0);

    ASSERT_TRUE(receiveWithin(*s.program.protocol, 5000ms));
    EXPECT_FALSE(s.program.host.busy);
    EXPECT_TRUE(s.program.host.applyEnabled);

    // A second apply with nothing changed carries no marks.
    s.program.protocol->apply(kApplyCode);
    ASSERT_TRUE(MonitorCommands::flags(s.dir, flags));
    EXPECT_EQ(flags.find("keys 0"), std::string::npos);
    EXPECT_NE(flags.find("flagB 0"), std::string::npos);
    ASSERT_TRUE(receiveWithin(*s.program.protocol, 5000ms));
}

TEST(LinkWithMonitor, MonitorMessagesReachTheProgram) {
    LinkSetup s;
    RunningMonitor monitor(s.dir, s.program.folder.folder());
    ASSERT_TRUE(monitor.published);
    s.program.start(s.link, s.dir);

    ASSERT_TRUE(MonitorCommands::renameProfile(s.dir, 4, "Night"));
    ASSERT_TRUE(receiveWithin(*s.program.protocol, 5000ms));
    EXPECT_EQ(fieldText(s.program.edited->profiles[4].ProFileName), "Night");

    s.program.edited->profiles[2].Color[0][0] = 0x010203;
    ASSERT_TRUE(MonitorCommands::switchProfile(s.dir, 2, 55));
    ASSERT_TRUE(receiveWithin(*s.program.protocol, 5000ms));
    EXPECT_EQ(s.program.edited->CurrentProfile, 2);
    EXPECT_EQ(s.program.edited->profiles[2].LtSwitch, 55);
    EXPECT_EQ(s.program.edited->profiles[2].Color[0][0], 0x010203);

    ASSERT_TRUE(MonitorCommands::firmware(s.dir, s.program.folder.folder(), 123));
    ASSERT_TRUE(receiveWithin(*s.program.protocol, 5000ms));
    EXPECT_EQ(s.program.protocol->firmwareVersionText(), "1.23");
    EXPECT_EQ(s.program.edited->profiles[2].Color[0][0], 0xFF); // 1254 re-reads the block
}

TEST(LinkWithMonitor, AShortBlockFileIsReportedAndTheFilesServe) {
    LinkSetup s;
    ASSERT_TRUE(RobustMutex().create(s.dir + kMutexFileName));
    std::ofstream(s.dir + kBlockFileName, std::ios::binary) << std::string(1000, 'x');
    s.program.start(s.link, s.dir);
    EXPECT_EQ(s.program.host.messages, std::vector<std::string>{"Could not map view of file."});
    EXPECT_FALSE(s.program.protocol->linkOpen());
    EXPECT_EQ(s.program.edited->profiles[0].LtSwitch, 6);
    s.program.protocol->apply(kApplyCode); // no monitor mailbox: back at once
    EXPECT_FALSE(s.program.host.busy);
}

TEST(LinkWithMonitor, AMonitorThatDiedHoldingTheMutexCostsOneCopy) {
    LinkSetup s;
    RunningMonitor monitor(s.dir, s.program.folder.folder());
    ASSERT_TRUE(monitor.published);
    s.program.start(s.link, s.dir);

    dieHoldingTheMutex(s.dir);

    copyToField(s.program.edited->profiles[0].ProFileName, "First try");
    s.program.protocol->apply(kApplyCode); // this block copy is skipped
    ASSERT_TRUE(receiveWithin(*s.program.protocol, 5000ms));
    std::string flags;
    ASSERT_TRUE(MonitorCommands::flags(s.dir, flags)); // the mutex works again

    copyToField(s.program.edited->profiles[0].ProFileName, "Second try");
    s.program.protocol->apply(kApplyCode);
    ASSERT_TRUE(receiveWithin(*s.program.protocol, 5000ms));
    ASSERT_TRUE(MonitorCommands::renameProfile(s.dir, 1, "x")); // makes the program re-read
    ASSERT_TRUE(receiveWithin(*s.program.protocol, 5000ms));
    EXPECT_EQ(fieldText(s.program.edited->profiles[0].ProFileName), "Second try");
}

TEST(LinkWithMonitor, AnOwnerThatDiedBeforeStartUpStillGivesTheBlock) {
    LinkSetup s;
    RunningMonitor monitor(s.dir, s.program.folder.folder());
    ASSERT_TRUE(monitor.published);
    ASSERT_TRUE(MonitorCommands::renameProfile(s.dir, 2, "Only in the block"));
    dieHoldingTheMutex(s.dir);
    s.program.start(s.link, s.dir);
    EXPECT_EQ(fieldText(s.program.edited->profiles[2].ProFileName), "Only in the block");
}

TEST(LinkWithMonitor, CommandsTryOnceMoreAfterAnOwnerDied) {
    LinkSetup s;
    using Kind = MonitorCommands::Result::Kind;
    EXPECT_EQ(MonitorCommands::renameProfile(s.dir, 0, "x").kind, Kind::NoMonitor);
    RunningMonitor monitor(s.dir, s.program.folder.folder());
    ASSERT_TRUE(monitor.published);
    dieHoldingTheMutex(s.dir);
    EXPECT_EQ(MonitorCommands::renameProfile(s.dir, 1, "After").kind, Kind::Done);
    dieHoldingTheMutex(s.dir);
    EXPECT_EQ(MonitorCommands::switchProfile(s.dir, 1, 3).kind, Kind::Done);
    std::string flags;
    dieHoldingTheMutex(s.dir);
    EXPECT_EQ(MonitorCommands::flags(s.dir, flags).kind, Kind::Done);
    EXPECT_EQ(flags.substr(0, 17), "CurrentProfile 1\n");
    EXPECT_EQ(MonitorCommands::switchProfile(s.dir, 5, 3).kind, Kind::NoSuchProfile);
}

TEST(LinkWithMonitor, OnlyOneMonitorPublishes) {
    LinkSetup s;
    RunningMonitor first(s.dir, s.program.folder.folder());
    ASSERT_TRUE(first.published);
    Monitor second(s.dir, s.program.folder.folder(), s.program.folder.folder());
    EXPECT_FALSE(second.publish());
    std::string flags;
    EXPECT_TRUE(MonitorCommands::flags(s.dir, flags)); // the first one's objects are intact
}
