#include "monitor/service/ProgramLauncher.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantrel::test {
namespace {

// A small program that notes which descriptors it was given, and its session.
class ProgramLauncherTest : public ::testing::Test {
protected:
    std::string script(const std::string& name, const std::string& body, mode_t mode) {
        const std::string path = folder.file(name);
        writeFile(path, "#!/bin/sh\n" + body);
        ::chmod(path.c_str(), mode);
        return path;
    }
    TempDir folder;
    ProgramLauncher launcher;
    std::string whyNot;
};

TEST_F(ProgramLauncherTest, StartsTheFileDetachedWithNothingOfOurs) {
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0); // inheritable on purpose
    const std::string marker = folder.file("ran");
    const std::string path =
        script("game",
               "ls /proc/$$/fd > " + marker + ".fds\ncut -d' ' -f6 /proc/$$/stat > " + marker +
                   ".sid\necho done > " + marker + "\n",
               0755);
    const pid_t pid = launcher.launch(path, whyNot);
    ASSERT_GT(pid, 0) << whyNot;
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readFile(marker), "done\n");
    // A session of its own, and none of our descriptors: 0..2 and the one ls reads.
    EXPECT_EQ(std::stoi(readFile(marker + ".sid")), pid);
    const std::string fds = readFile(marker + ".fds");
    EXPECT_EQ(fds.find(std::to_string(pipeFds[0]) + "\n"), std::string::npos) << fds;
    EXPECT_EQ(fds.find(std::to_string(pipeFds[1]) + "\n"), std::string::npos) << fds;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
}

TEST_F(ProgramLauncherTest, AStarterGetsThePathAfterItsOwnWords) {
    const std::string marker = folder.file("ran");
    const std::string game = script("game", "exit 0\n", 0755);
    launcher.setStarter({script("starter", "echo \"$@\" > " + marker + "\n", 0755), "--user"});
    const pid_t pid = launcher.launch(game, whyNot);
    ASSERT_GT(pid, 0) << whyNot;
    ::waitpid(pid, nullptr, 0);
    EXPECT_EQ(readFile(marker), "--user " + game + "\n");
    // The path is checked all the same.
    EXPECT_EQ(launcher.launch(folder.file("missing"), whyNot), -1);
}

TEST_F(ProgramLauncherTest, RefusesWhatIsNotAnExecutableFile) {
    const std::string marker = folder.file("ran");
    const std::string notExecutable = script("notes", "echo ran > " + marker + "\n", 0644);
    for (const std::string& path : {notExecutable, folder.folder(), std::string("game"),
                                    folder.file("missing"), std::string()}) {
        EXPECT_EQ(launcher.launch(path, whyNot), -1) << path;
        EXPECT_FALSE(whyNot.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(marker));
}

} // namespace
} // namespace vantrel::test
