// Native Wayland windows under a headless sway, whose list of windows
// (zwlr_foreign_toplevel_manager_v1) names them by app_id; focus is moved
// with swaymsg. One sway serves every case.
#include "monitor/games/WlrToplevelWatcher.h"
#include "tests/ChildProgram.h"
#include "tests/monitor/FollowingMonitor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace vantrel;
using namespace vantrel::test;

namespace {

bool installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null").c_str()) == 0;
}

class WaylandGameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const char* tool : {"sway", "swaymsg", "foot"}) {
            if (!installed(tool)) {
                s_whyNot = std::string(tool) + " is not installed (scripts/deps.sh installs it)";
                return;
            }
        }
        s_dir = new TempDir;
        const std::string run = s_dir->file("run");
        std::filesystem::create_directory(run);
        std::filesystem::permissions(run, std::filesystem::perms::owner_all);
        test::writeFile(s_dir->file("sway.conf"), "output HEADLESS-1 resolution 640x480\n");
        ::setenv("XDG_RUNTIME_DIR", run.c_str(), 1);
        ::setenv("WLR_BACKENDS", "headless", 1);
        ::setenv("WLR_LIBINPUT_NO_DEVICES", "1", 1);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        const std::string config = s_dir->file("sway.conf");
        // sway refuses to run as root: then it runs as nobody, whose socket
        // root may still use.
        if (::geteuid() == 0) {
            std::filesystem::permissions(s_dir->file(""), std::filesystem::perms::others_exec,
                                         std::filesystem::perm_options::add);
            (void)!::chown(run.c_str(), 65534, 65534);
            spawnProgram({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "sway",
                          "-c", config.c_str()},
                         s_sway);
        } else {
            spawnProgram({"sway", "-c", config.c_str()}, s_sway);
        }
        std::string ipc;
        waitUntil(
            [&] {
                for (const auto& entry : std::filesystem::directory_iterator(run)) {
                    const std::string name = entry.path().filename().string();
                    if (name.starts_with("sway-ipc."))
                        ipc = entry.path().string();
                }
                return !ipc.empty() && std::filesystem::exists(run + "/wayland-1");
            },
            std::chrono::seconds(10));
        if (ipc.empty()) {
            s_broken = "sway did not start";
            return;
        }
        ::setenv("WAYLAND_DISPLAY", (run + "/wayland-1").c_str(), 1);
        ::setenv("SWAYSOCK", ipc.c_str(), 1);
        spawnProgram({"foot", "--app-id=vantrel-other", "cat"}, s_other);
        if (!waitFor("vantrel-other"))
            s_broken = "foot did not open a window";
    }

    static void TearDownTestSuite() {
        stopProgram(s_other);
        stopProgram(s_sway, SIGTERM);
        delete s_dir;
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
    static bool waitFor(const std::string& appId) {
        return waitUntil([&] { return focus(appId); }, std::chrono::seconds(10));
    }

    static std::unique_ptr<WindowSource> wlroots() {
        std::string whyNot;
        auto watcher = WlrToplevelWatcher::open(whyNot);
        EXPECT_TRUE(watcher) << whyNot;
        return watcher;
    }

    // A missing tool skips; a start that fails fails.
    static inline std::string s_whyNot, s_broken;
    static inline TempDir* s_dir = nullptr;
    static inline pid_t s_sway = -1, s_other = -1;
};

TEST_F(WaylandGameTest, TheProfileOfTheAppIdFollowsItsWindow) {
    ASSERT_TRUE(focus("vantrel-other"));
    FollowingMonitor monitor({"", "", "VANTREL-game"}, wlroots());
    pid_t game = -1;
    spawnProgram({"foot", "--app-id=vantrel-game", "cat"}, game);
    ASSERT_TRUE(waitFor("vantrel-game"));
    EXPECT_TRUE(monitor.switchesTo(2));
    ASSERT_TRUE(focus("vantrel-other"));
    EXPECT_TRUE(monitor.switchesTo(0));
    ASSERT_TRUE(focus("vantrel-game"));
    EXPECT_TRUE(monitor.switchesTo(2));
    // The game ends; sway gives the focus to the other window.
    stopProgram(game);
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
