// The monitor program as a shell user meets it.
#include "link/LinkNames.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace vantrel;
using namespace std::chrono_literals;
using vantrel::test::TempDir;
using vantrel::test::waitUntil;

namespace {

struct MonitorRun {
    int status = -1;
    std::string output;
};

std::vector<char*> environmentFor(const std::string& runtime) {
    static std::string variable;
    variable = "XDG_RUNTIME_DIR=" + runtime;
    return {variable.data(), nullptr};
}

pid_t spawnMonitor(const std::string& runtime, std::vector<std::string> args, int outFd = -1,
                   int errFd = -1) {
    std::vector<char*> argv{const_cast<char*>(VANTREL_MONITOR_EXE)};
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    if (errFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, errFd, 2);
    auto env = environmentFor(runtime);
    pid_t pid = -1;
    ::posix_spawn(&pid, VANTREL_MONITOR_EXE, &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

MonitorRun runMonitor(const std::string& runtime, std::vector<std::string> args) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return {};
    const pid_t pid = spawnMonitor(runtime, std::move(args), pipeFds[1]);
    ::close(pipeFds[1]);
    MonitorRun run;
    char buffer[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, static_cast<size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool waitFor(const std::string& path, std::chrono::milliseconds limit) {
    return waitUntil([&] { return std::filesystem::exists(path); }, limit);
}

} // namespace

TEST(MonitorProcess, PublishesServesAndCleansUp) {
    TempDir root;
    const std::string runtime = root.folder();
    const std::string dir = runtime + "vantrel-gaming-keyboard/";
    const pid_t monitor = spawnMonitor(runtime, {});
    ASSERT_GT(monitor, 0);
    ASSERT_TRUE(waitFor(dir + kMonitorSocketName, 20s));
    EXPECT_TRUE(std::filesystem::exists(dir + kBlockFileName));
    EXPECT_EQ(std::filesystem::file_size(dir + kBlockFileName), 340436u);
    EXPECT_TRUE(std::filesystem::exists(dir + kMutexFileName));

    EXPECT_EQ(runMonitor(runtime, {}).status, 3); // a second monitor refuses, with its own status

    MonitorRun switched = runMonitor(runtime, {"switch", "2", "51"});
    EXPECT_EQ(switched.status, 0);
    MonitorRun flags = runMonitor(runtime, {"flags"});
    EXPECT_EQ(flags.status, 0);
    EXPECT_EQ(flags.output.rfind("CurrentProfile 2\n", 0), 0u) << flags.output;
    EXPECT_NE(flags.output.find("flagB 0"), std::string::npos);

    EXPECT_EQ(runMonitor(runtime, {"switch", "7", "1"}).status, 1);
    EXPECT_EQ(runMonitor(runtime, {"unknown"}).status, 2);

    ::kill(monitor, SIGTERM);
    int status = 0;
    ::waitpid(monitor, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_FALSE(std::filesystem::exists(dir + kBlockFileName));
    EXPECT_FALSE(std::filesystem::exists(dir + kMutexFileName));
    EXPECT_FALSE(std::filesystem::exists(dir + kMonitorSocketName));
    EXPECT_EQ(runMonitor(runtime, {"flags"}).status, 1); // nobody there any more
}

TEST(MonitorProcess, HelpNamesEveryCommand) {
    TempDir root;
    const MonitorRun help = runMonitor(root.folder(), {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* word :
         {"firmware", "rename", "switch", "flags", "SIGTERM", "1254", "1255", "1257",
          "--answer-delay", "--device", "--dry-run", "--no-notices", "Escape"})
        EXPECT_NE(help.output.find(word), std::string::npos) << word;
}

TEST(MonitorProcess, WithoutKeyboardAccessSaysWhyOnceAndServes) {
    if (::access("/dev/uinput", W_OK) == 0)
        GTEST_SKIP() << "/dev/uinput can be written here: the monitor drives the keys";
    TempDir root;
    const std::string dir = root.folder() + "vantrel-gaming-keyboard/";
    int errFds[2];
    ASSERT_EQ(::pipe(errFds), 0);
    const pid_t monitor = spawnMonitor(root.folder(), {}, -1, errFds[1]);
    ::close(errFds[1]);
    ASSERT_TRUE(waitFor(dir + kMonitorSocketName, 20s));
    EXPECT_EQ(runMonitor(root.folder(), {"flags"}).status, 0);
    ::kill(monitor, SIGTERM);
    ::waitpid(monitor, nullptr, 0);
    std::string said;
    char buffer[1024];
    for (ssize_t n; (n = ::read(errFds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<size_t>(n));
    ::close(errFds[0]);
    const std::string line = "vantrel-monitor: keys are not remapped: ";
    ASSERT_NE(said.find(line), std::string::npos) << said;
    EXPECT_EQ(said.find(line, said.find(line) + 1), std::string::npos) << said;
}
