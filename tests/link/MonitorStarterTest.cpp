// Starting the real monitor program the way the configuration program does.
#include "link/MonitorStarter.h"
#include "link/LinkNames.h"
#include "link/RuntimeDirectory.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"
#include "tests/link/RunningMonitor.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantrel;
using namespace std::chrono_literals;
using vantrel::test::RunningMonitor;
using vantrel::test::TempDir;
using vantrel::test::waitUntil;

namespace {

// A runtime folder of the test's own, handed to started monitors through the
// environment as the program hands its own.
struct PrivateRuntime {
    TempDir root;
    std::string dir = *RuntimeDirectory::locate(root.folder().c_str(), ::getuid());
    PrivateRuntime() { ::setenv("XDG_RUNTIME_DIR", root.folder().c_str(), 1); }
    ~PrivateRuntime() { ::unsetenv("XDG_RUNTIME_DIR"); }
};

} // namespace

TEST(MonitorStarter, StartedMonitorIsDetachedAndHoldsNoneOfOurFiles) {
    PrivateRuntime runtime;
    EXPECT_FALSE(MonitorStarter::monitorAnswers(runtime.dir));

    // A lock a careless start would hand down to the monitor.
    const std::string lockPath = runtime.root.file("held.lock");
    const int held = ::open(lockPath.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    const std::optional<pid_t> pid = MonitorStarter::start(VANTREL_MONITOR_EXE, runtime.dir, 20s);
    ASSERT_TRUE(pid);
    EXPECT_TRUE(MonitorStarter::monitorAnswers(runtime.dir));
    EXPECT_NE(::getsid(*pid), ::getsid(0)) << "a session of its own";
    EXPECT_EQ(::waitpid(*pid, nullptr, WNOHANG), -1) << "not our child";
    EXPECT_EQ(errno, ECHILD);

    ::close(held);
    const int again = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
    EXPECT_EQ(::flock(again, LOCK_EX | LOCK_NB), 0) << "the monitor kept our lock";
    ::close(again);

    ::kill(*pid, SIGTERM);
    EXPECT_TRUE(waitUntil([&] { return !MonitorStarter::monitorAnswers(runtime.dir); }, 20s));
}

TEST(MonitorStarter, AnswersOnlyWhileSomebodyHoldsTheName) {
    PrivateRuntime runtime;
    // The socket file a killed monitor leaves behind.
    const std::string path = runtime.dir + kMonitorSocketName;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_TRUE(MonitorStarter::monitorAnswers(runtime.dir));
    ::close(fd);
    ASSERT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(MonitorStarter::monitorAnswers(runtime.dir));
    EXPECT_FALSE(MonitorStarter::start(runtime.root.file("no-such-monitor"), runtime.dir, 20s));
}

TEST(MonitorStarter, LeavesARunningMonitorAlone) {
    PrivateRuntime runtime;
    TempDir program;
    const RunningMonitor monitor(runtime.dir, program.folder());
    ASSERT_TRUE(monitor.published);
    // A stand-in that would leave a mark if it were started.
    const std::string mark = program.file("started");
    test::writeFile(program.file(MonitorStarter::kMonitorName),
                    "#!/bin/sh\ntouch '" + mark + "'\n");
    std::filesystem::permissions(program.file(MonitorStarter::kMonitorName),
                                 std::filesystem::perms::owner_all);

    // Had it started the stand-in, it would have waited for it to answer.
    MonitorStarter::ensureRunning(program.folder(), runtime.dir);
    EXPECT_FALSE(std::filesystem::exists(mark));
}
