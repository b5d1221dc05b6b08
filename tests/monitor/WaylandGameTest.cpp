// Native Wayland windows (foot terminals) under a headless sway, whose list
// of windows names them by app_id; focus is moved with swaymsg. One sway
// serves every case.
#include "monitor/games/WlrToplevelWatcher.h"
#include "tests/ChildProgram.h"
#include "tests/monitor/FollowingMonitor.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vantrel;
using namespace vantrel::test;

namespace {

class WaylandGameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!(s_whyNot = missingTool({"sway", "swaymsg", "foot"})).empty())
            return;
        const std::string run = s_dir.file("run");
        std::filesystem::create_directory(run);
        for (const auto& [name, value] : {std::pair{"XDG_RUNTIME_DIR", run},
                                          {"SWAYSOCK", run + "/sway.sock"},
                                          {"WLR_BACKENDS", "headless"},
                                          {"WLR_LIBINPUT_NO_DEVICES", "1"}})
            ::setenv(name, value.c_str(), 1);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        // sway refuses to run as root: then it runs as nobody, whose sockets
        // root may still use.
        std::vector<const char*> sway = {"sway", "-c", "/dev/null"};
        if (::geteuid() == 0) {
            std::filesystem::permissions(s_dir.file(""), std::filesystem::perms::others_exec,
                                         std::filesystem::perm_options::add);
            (void)!::chown(run.c_str(), 65534, 65534);
            sway.insert(sway.begin(),
                        {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
        }
        spawnProgram(sway, s_sway);
        waitUntil([&] { return std::system("swaymsg -q -t get_version 2>/dev/null") == 0; });
        for (const auto& entry : std::filesystem::directory_iterator(run)) {
            if (entry.is_socket() && entry.path().filename().string().starts_with("wayland-"))
                ::setenv("WAYLAND_DISPLAY", entry.path().c_str(), 1);
        }
        spawnProgram({"foot", "--app-id=vantrel-other", "cat"}, s_other);
        if (!focusWhenOpen("vantrel-other"))
            s_broken = "sway or foot did not start";
    }

    static void TearDownTestSuite() {
        stopProgram(s_other);
        stopProgram(s_sway, SIGTERM);
    }

    void SetUp() override {
        if (!s_whyNot.empty())
            GTEST_SKIP() << s_whyNot;
        ASSERT_EQ(s_broken, "");
    }

    // Moves the focus to the window of that app_id; false while it has none.
    static bool focus(const std::string& appId) {
        return std::system(("swaymsg -q '[app_id=\"" + appId + "\"] focus' 2>/dev/null").c_str()) ==
               0;
    }
    static bool focusWhenOpen(const std::string& appId) {
        return waitUntil([&] { return focus(appId); }, std::chrono::seconds(10));
    }

    // A missing tool skips; a start that fails fails.
    static inline std::string s_whyNot, s_broken;
    static inline TempDir s_dir;
    static inline pid_t s_sway = -1, s_other = -1;
};

TEST_F(WaylandGameTest, TheProfileOfTheAppIdFollowsItsWindow) {
    ASSERT_TRUE(focus("vantrel-other"));
    std::string whyNot;
    FollowingMonitor monitor({"", "", "VANTREL-game"}, WlrToplevelWatcher::open(whyNot));
    ASSERT_EQ(whyNot, "");
    pid_t game = -1;
    spawnProgram({"foot", "--app-id=vantrel-game", "cat"}, game);
    ASSERT_TRUE(focusWhenOpen("vantrel-game"));
    EXPECT_TRUE(monitor.switchesTo(2));
    ASSERT_TRUE(focus("vantrel-other"));
    EXPECT_TRUE(monitor.switchesTo(0));
    ASSERT_TRUE(focus("vantrel-game"));
    EXPECT_TRUE(monitor.switchesTo(2));
    stopProgram(game); // sway gives the focus to the other window
    EXPECT_TRUE(monitor.switchesTo(0));
}

TEST_F(WaylandGameTest, ChosenOverX11WhereTheCompositorOffersIt) {
    ::setenv("DISPLAY", ":0", 1);
    std::string said;
    EXPECT_TRUE(WindowSource::open("", said));
    EXPECT_NE(said.find("wlroots"), std::string::npos) << said;
    ::unsetenv("DISPLAY");
}

} // namespace
