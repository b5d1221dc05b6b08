// A Windows game run by Wine on an Xvfb with openbox, which activates windows
// and sets _NET_ACTIVE_WINDOW as a desktop's window manager does. The display,
// the window manager and the Wine prefix serve every case.
#include "monitor/games/ActiveWindowWatcher.h"
#include "tests/ChildProgram.h"
#include "tests/monitor/FollowingMonitor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace vantrel;
using namespace vantrel::test;

namespace {

struct Case {
    const char* name;
    // $T is the test's folder, which holds Games/WineGame.exe and the prefix
    // pfx, whose C: holds Games/WineGame.exe too.
    const char* gameFile;
    const char* started;
    int profile;
};

const Case kCases[] = {
    {"LinuxPathOfTheExe", "$T/Games/WineGame.exe", "$T/Games/WineGame.exe", 2},
    {"StartedFromDriveC", "$T/pfx/drive_c/Games/WineGame.exe", "C:\\Games\\WineGame.exe", 3},
    {"WindowClass", "WineGame.EXE", "$T/Games/WineGame.exe", 1},
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class WineGameTest : public ::testing::TestWithParam<Case> {
protected:
    static void SetUpTestSuite() {
        if (!(s_whyNot = missingTool({"Xvfb", "openbox", "wine", "wineboot", "xdotool"})).empty())
            return;
        const std::string display = startProgram(
            {"Xvfb", "-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"}, s_xvfb);
        if (display.empty()) {
            s_broken = "Xvfb did not start";
            return;
        }
        ::setenv("DISPLAY", (":" + display).c_str(), 1);
        spawnProgram({"openbox"}, s_openbox);
        ::setenv("WINEPREFIX", s_dir.file("pfx").c_str(), 1);
        ::setenv("WINEDEBUG", "-all", 1);
        // No offer to install Mono or Gecko, which would wait for a click.
        ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml=", 1);
        for (const char* to : {"Games", "pfx/drive_c/Games"}) {
            std::filesystem::create_directories(s_dir.file(to));
            std::filesystem::copy_file(VANTREL_WINE_GAME, s_dir.file(to) + "/WineGame.exe");
        }
        if (std::system("wineboot -i >/dev/null 2>&1") != 0)
            s_broken = "wineboot could not make the prefix";
        const std::string other = startProgram({VANTREL_GAME_WINDOW}, s_other);
        s_otherWindow = other;
        if (other.empty())
            s_broken = "game_window did not start";
    }

    static void TearDownTestSuite() {
        stopProgram(s_other);
        std::system("wineserver -k >/dev/null 2>&1");
        stopProgram(s_openbox);
        stopProgram(s_xvfb);
    }

    void SetUp() override {
        if (!s_whyNot.empty())
            GTEST_SKIP() << s_whyNot;
        ASSERT_EQ(s_broken, "");
    }

    static void activateOther() {
        std::system(("xdotool windowactivate --sync " + s_otherWindow + " 2>/dev/null").c_str());
    }

    static std::string expand(std::string text) {
        if (text.starts_with("$T/"))
            text.replace(0, 3, s_dir.folder());
        return text;
    }

    // A missing tool skips; a start that fails fails.
    static inline std::string s_whyNot, s_broken;
    static inline TempDir s_dir;
    static inline pid_t s_xvfb = -1, s_openbox = -1, s_other = -1;
    static inline std::string s_otherWindow;
};

TEST_P(WineGameTest, TheGamesProfileFollowsItsWindow) {
    activateOther();
    std::array<std::string, kProfileCount> games;
    games[GetParam().profile] = expand(GetParam().gameFile);
    std::string whyNot;
    FollowingMonitor monitor(games, ActiveWindowWatcher::open(whyNot));
    pid_t game = -1;
    const std::string started = expand(GetParam().started);
    // openbox activates the new window.
    spawnProgram({"wine", started.c_str()}, game);
    EXPECT_TRUE(monitor.switchesTo(GetParam().profile));
    activateOther();
    EXPECT_TRUE(monitor.switchesTo(0));
    stopProgram(game);
}

INSTANTIATE_TEST_SUITE_P(Wine, WineGameTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
