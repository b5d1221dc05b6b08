#include "link/SingleInstance.h"
#include "link/MonitorStarter.h"
#include "settings/ProgramFolder.h"
#include "tests/ChildProgram.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

using namespace vantrel;
using namespace std::chrono_literals;
using vantrel::test::TempDir;
using vantrel::test::waitUntil;

namespace {

// Starts a real program with its runtime folder under dir, on the offscreen
// platform.
pid_t start(const char* executable, const TempDir& dir) {
    const std::string runtime = "XDG_RUNTIME_DIR=" + dir.folder();
    std::string platform = "QT_QPA_PLATFORM=offscreen";
    char* const env[] = {const_cast<char*>(runtime.c_str()), platform.data(), nullptr};
    char* const argv[] = {const_cast<char*>(executable), nullptr};
    pid_t pid = -1;
    return ::posix_spawn(&pid, executable, nullptr, nullptr, argv, env) == 0 ? pid : -1;
}

pid_t startProgram(const TempDir& dir) {
    return start(VANTREL_CONFIG_EXE, dir);
}

// True once somebody holds the single-instance lock in dir.
bool lockIsHeld(const TempDir& dir) {
    const std::string path = dir.folder() + "vantrel-gaming-keyboard/" + SingleInstance::kLockName;
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    ::close(fd);
    return held;
}

// Waits up to the limit for the process to end; its exit status, or -1.
int waitExit(pid_t pid, std::chrono::milliseconds limit) {
    int status = 0;
    if (!waitUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, limit))
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

TEST(SingleInstance, SecondProgramEndsAtOnceWhileTheFirstRuns) {
    TempDir dir;
    // With a monitor of the test's own the program starts none that would
    // outlive the test.
    const pid_t monitor = start(VANTREL_MONITOR_EXE, dir);
    ASSERT_GT(monitor, 0);
    ASSERT_TRUE(waitUntil(
        [&] { return MonitorStarter::monitorAnswers(dir.folder() + "vantrel-gaming-keyboard/"); },
        20s));
    const pid_t first = startProgram(dir);
    ASSERT_GT(first, 0);
    ASSERT_TRUE(waitUntil([&] { return lockIsHeld(dir); }, 20s));

    const pid_t second = startProgram(dir);
    ASSERT_GT(second, 0);
    EXPECT_EQ(waitExit(second, 20s), 0);
    EXPECT_EQ(waitExit(first, 200ms), -1) << "the first copy must keep running";

    ::kill(first, SIGTERM);
    EXPECT_NE(waitExit(first, 20s), -1);
    EXPECT_FALSE(lockIsHeld(dir));

    // After the first has gone, a new start takes the lock and runs.
    const pid_t third = startProgram(dir);
    ASSERT_GT(third, 0);
    EXPECT_TRUE(waitUntil([&] { return lockIsHeld(dir); }, 20s));
    EXPECT_EQ(waitExit(third, 200ms), -1);
    ::kill(third, SIGTERM);
    waitExit(third, 20s);
    ::kill(monitor, SIGTERM);
    waitExit(monitor, 20s);
}

TEST(Programs, HelpAndVersionPrintAndEndWithoutStartingAnything) {
    TempDir dir;
    ::setenv("XDG_RUNTIME_DIR", dir.folder().c_str(), 1);
    const struct {
        const char* program;
        const char* option;
        std::string firstLine;
    } cases[] = {
        {VANTREL_CONFIG_EXE, "--version", std::string("vantrel-config ") + VANTREL_VERSION},
        {VANTREL_CONFIG_EXE, "--help", "Usage: vantrel-config [--help | --version]"},
        {VANTREL_MONITOR_EXE, "--version", std::string("vantrel-monitor ") + VANTREL_VERSION},
    };
    for (const auto& c : cases) {
        pid_t pid = -1;
        EXPECT_EQ(vantrel::test::startProgram({c.program, c.option}, pid), c.firstLine);
        EXPECT_EQ(waitExit(pid, 20s), 0) << c.program << " " << c.option;
    }
    // Neither took the single-instance lock nor started a monitor.
    EXPECT_NE(::access((dir.folder() + "vantrel-gaming-keyboard").c_str(), F_OK), 0);
}

TEST(SingleInstance, InProcessLocksExcludeEachOther) {
    TempDir dir;
    const std::optional<std::string> runtime = dir.folder();
    {
        const SingleInstance a(runtime);
        EXPECT_TRUE(a.acquired());
        const SingleInstance b(runtime);
        EXPECT_FALSE(b.acquired());
    }
    const SingleInstance c(runtime);
    EXPECT_TRUE(c.acquired());
    // No usable runtime folder: the lock lives in memory and always succeeds.
    EXPECT_TRUE(SingleInstance(std::nullopt).acquired());
}

TEST(ProgramFolder, KeepsTheTrailingSlash) {
    EXPECT_EQ(ProgramFolder::folderOf("/opt/vantrel/bin/vantrel-config"), "/opt/vantrel/bin/");
    EXPECT_EQ(ProgramFolder::folderOf("/vantrel-config"), "/");
    EXPECT_EQ(ProgramFolder::folderOf("vantrel-config"), "");
    const std::string here = ProgramFolder::locate();
    ASSERT_FALSE(here.empty());
    EXPECT_EQ(here.back(), '/');
}
