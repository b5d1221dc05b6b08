// The monitor's loop with keyboards and output on pipes, over the real link in
// a runtime folder of the test's own.
#include "link/LinkMessage.h"
#include "link/LinkNames.h"
#include "link/MessageSocket.h"
#include "link/MonitorLink.h"
#include "monitor/service/Monitor.h"
#include "monitor/service/MonitorCommands.h"
#include "monitor/service/StatusSocket.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "tests/Wait.h"
#include "tests/link/LinkTestSupport.h"
#include "tests/monitor/PipeMonitor.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>

namespace vantrel::test {
namespace {

constexpr int kPositionF1 = 1;
constexpr int kPositionA = 49;

class MonitorKeysTest : public PipeMonitor {
protected:
    // Profile 0 has F1 switch to profile 2 and A brighten the lighting;
    // profile 1 has A as the left mouse button.
    void SetUp() override {
        auto block = std::make_unique<SharedBlock>();
        resetAllProfiles(*block, LanguageStrings());
        block->profiles[0].MacroKeyInfo[kPositionF1].assignType = 65;
        block->profiles[0].MacroKeyInfo[kPositionA].assignType = 69;
        block->profiles[0].Brightness[6] = 7; // effect 6 is the factory effect
        block->profiles[1].MacroKeyInfo[kPositionA].assignType = 24;
        ASSERT_TRUE(program.bind(runtime.folder() + kProgramSocketName));
        start(*block);
    }
    bool received(uint32_t message) {
        return waitUntil([&] {
            const auto m = program.receive();
            return m && m->message == message;
        });
    }
    std::unique_ptr<SharedBlock> block() {
        auto copy = std::make_unique<SharedBlock>();
        EXPECT_TRUE(MonitorCommands::readBlock(runtime.folder(), *copy));
        return copy;
    }

    MessageSocket program;
};

TEST_F(MonitorKeysTest, ProfileKeySwitchesTheBlockTellsTheProgramAndTakesTheNewProfile) {
    tap(KEY_F1);
    ASSERT_TRUE(received(kMsgDeviceChanged));
    EXPECT_EQ(block()->CurrentProfile, 1);
    tap(KEY_A);
    EXPECT_EQ(output(2), (std::vector<Sent>{key(BTN_LEFT, 1), key(BTN_LEFT, 0)}));
}

TEST_F(MonitorKeysTest, BrightnessKeyChangesTheBlockAndTheProgramsNextApplyKeepsIt) {
    ProgramUnderTest settings;
    MonitorLink link(runtime.folder());
    settings.start(link);
    ASSERT_EQ(settings.edited->profiles[0].Brightness[6], 7);
    tap(KEY_A);
    ASSERT_TRUE(received(kMsgBlockChanged));
    EXPECT_EQ(block()->profiles[0].Brightness[6], 8);
    settings.protocol->handleMessage(kMsgBlockChanged);
    settings.protocol->apply(kApplyCode);
    EXPECT_EQ(block()->profiles[0].Brightness[6], 8);
}

TEST_F(MonitorKeysTest, AnApplyHandsTheEngineTheNewProfile) {
    ASSERT_TRUE(MonitorCommands::switchProfile(runtime.folder(), 1, 6));
    ASSERT_TRUE(received(kMsgDeviceChanged)); // the command's own notice
    MessageSocket::post(runtime.folder() + kMonitorSocketName, {kMsgApplied, 1, 0});
    ASSERT_TRUE(received(kMsgApplyFinished));
    tap(KEY_A);
    EXPECT_EQ(output(2), (std::vector<Sent>{key(BTN_LEFT, 1), key(BTN_LEFT, 0)}));
}

// A client of the status socket that connects and says or reads nothing.
int connectToStatus(const std::string& runtime) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = runtime + StatusSocket::kName;
    std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return fd;
}

TEST_F(MonitorKeysTest, StatusAnswersWhileClientsThatNeverReadHoldNothingUp) {
    struct stat info {};
    ASSERT_EQ(::stat((runtime.folder() + StatusSocket::kName).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::vector<int> idle;
    for (int i = 0; i < 40; ++i)
        idle.push_back(connectToStatus(runtime.folder()));
    tap(KEY_B);
    EXPECT_EQ(output(2), (std::vector<Sent>{key(KEY_B, 1), key(KEY_B, 0)}));
    const auto text = StatusSocket::ask(runtime.folder(), std::chrono::seconds(5));
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("profile: 1 \"#1\"\n"), std::string::npos) << *text;
    EXPECT_NE(text->find("lighting: off\n"), std::string::npos) << *text;
    for (int fd : idle)
        ::close(fd);
    monitor->stop();
    monitor->withdraw();
    EXPECT_FALSE(StatusSocket::ask(runtime.folder(), std::chrono::milliseconds(200)));
}

TEST_F(MonitorKeysTest, StatusAnswersNoOtherUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root can be another user here";
    // Open to all, so that only the check of the peer stands in the way.
    ::chmod(runtime.folder().c_str(), 0755);
    ::chmod((runtime.folder() + StatusSocket::kName).c_str(), 0666);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0)
            ::_exit(2);
        const int fd = connectToStatus(runtime.folder());
        char c = 0;
        ::_exit(::read(fd, &c, 1) == 0 ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(MonitorKeysTest, StoppingLetsGoOfHeldKeys) {
    press(KEY_B, 1);
    ASSERT_EQ(output(1), (std::vector<Sent>{key(KEY_B, 1)}));
    monitor->stop();
    EXPECT_EQ(output(1), (std::vector<Sent>{key(KEY_B, 0)}));
}

} // namespace
} // namespace vantrel::test
