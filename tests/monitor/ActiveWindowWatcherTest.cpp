// The watcher against an Xvfb of the test's own, where the test sets
// _NET_ACTIVE_WINDOW as a window manager would (Xvfb runs none).
#include "monitor/games/ActiveWindowWatcher.h"

#include "link/LinkMessage.h"
#include "link/LinkNames.h"
#include "link/MessageSocket.h"
#include "monitor/service/MonitorCommands.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"
#include "settings/WorkingSet.h"
#include "tests/ChildProgram.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"
#include "tests/link/RunningMonitor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <unistd.h>
#include <vector>

using namespace vantrel;
using vantrel::test::startProgram;
using vantrel::test::stopProgram;

namespace {

class ActiveWindowWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v Xvfb >/dev/null") != 0)
            GTEST_SKIP() << "Xvfb is not installed (scripts/deps.sh installs it)";
        // -displayfd: Xvfb takes the first free display and writes its number.
        const std::string number = startProgram(
            {"Xvfb", "-displayfd", "1", "-screen", "0", "320x240x24", "-nolisten", "tcp"},
            m_server);
        ASSERT_FALSE(number.empty()) << "Xvfb did not start";
        ::setenv("DISPLAY", (":" + number).c_str(), 1);
        m_wm = xcb_connect(nullptr, nullptr);
        ASSERT_EQ(xcb_connection_has_error(m_wm), 0);
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_wm)).data->root;
        m_activeAtom = atom("_NET_ACTIVE_WINDOW");
        m_pidAtom = atom("_NET_WM_PID");
        const std::string window = startProgram({VANTREL_GAME_WINDOW}, m_game);
        ASSERT_FALSE(window.empty()) << "game_window did not start";
        m_window = static_cast<xcb_window_t>(std::stoul(window));
        m_gameExe = std::filesystem::canonical(VANTREL_GAME_WINDOW).string();
    }

    void TearDown() override {
        stopProgram(m_game);
        if (m_wm)
            xcb_disconnect(m_wm);
        stopProgram(m_server);
    }

    xcb_atom_t atom(std::string_view name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_wm, xcb_intern_atom(m_wm, 0, static_cast<uint16_t>(name.size()), name.data()),
            nullptr);
        const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return atom;
    }

    // Sets a one-value property and waits until the server has it.
    void setProperty(xcb_window_t window, xcb_atom_t property, xcb_atom_t type, uint32_t value) {
        xcb_change_property(m_wm, XCB_PROP_MODE_REPLACE, window, property, type, 32, 1, &value);
        std::free(xcb_get_input_focus_reply(m_wm, xcb_get_input_focus(m_wm), nullptr));
    }
    void setActive(xcb_window_t window) {
        setProperty(m_root, m_activeAtom, XCB_ATOM_WINDOW, window);
    }

    std::unique_ptr<ActiveWindowWatcher> openWatcher() {
        std::string whyNot;
        auto watcher = ActiveWindowWatcher::open(whyNot);
        EXPECT_TRUE(watcher) << whyNot;
        return watcher;
    }

    // The program of the watcher's next report, read whenever its connection
    // is readable; nullopt when it stays quiet for 5 seconds.
    static std::optional<std::string> nextReport(ActiveWindowWatcher& watcher) {
        for (;;) {
            if (std::optional<ActiveWindow> report = watcher.readChanges())
                return report->exe;
            pollfd wait{watcher.fd(), POLLIN, 0};
            if (::poll(&wait, 1, 5000) != 1)
                return std::nullopt;
        }
    }

    static std::optional<std::string> program(const std::optional<ActiveWindow>& report) {
        return report ? std::optional<std::string>(report->exe) : std::nullopt;
    }

    pid_t m_server = -1;
    pid_t m_game = -1;
    xcb_connection_t* m_wm = nullptr;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_activeAtom = XCB_ATOM_NONE;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
    xcb_window_t m_window = XCB_WINDOW_NONE;
    std::string m_gameExe;
};

TEST_F(ActiveWindowWatcherTest, ReportsTheActiveProgramFromTheFirstRead) {
    setActive(m_window);
    auto watcher = openWatcher();
    ASSERT_TRUE(watcher);
    EXPECT_EQ(program(watcher->readChanges()), m_gameExe);
    EXPECT_EQ(watcher->readChanges(), std::nullopt);
    setActive(XCB_WINDOW_NONE);
    EXPECT_EQ(nextReport(*watcher), "");
    setActive(m_window);
    EXPECT_EQ(nextReport(*watcher), m_gameExe);
}

TEST_F(ActiveWindowWatcherTest, TheProgramEndingWithoutAWindowManager) {
    auto watcher = openWatcher();
    ASSERT_TRUE(watcher);
    EXPECT_EQ(program(watcher->readChanges()), "");
    setActive(m_window);
    EXPECT_EQ(nextReport(*watcher), m_gameExe);
    stopProgram(m_game);
    EXPECT_EQ(nextReport(*watcher), "");
}

TEST_F(ActiveWindowWatcherTest, AWindowWithoutItsPidIsUnknown) {
    setActive(m_window);
    auto watcher = openWatcher();
    ASSERT_TRUE(watcher);
    EXPECT_EQ(program(watcher->readChanges()), m_gameExe);
    xcb_delete_property(m_wm, m_window, m_pidAtom);
    xcb_flush(m_wm);
    EXPECT_EQ(nextReport(*watcher), "");
    setProperty(m_window, m_pidAtom, XCB_ATOM_CARDINAL, static_cast<uint32_t>(m_game));
    EXPECT_EQ(nextReport(*watcher), m_gameExe);
}

TEST_F(ActiveWindowWatcherTest, TheDisplayGoing) {
    setActive(m_window);
    auto watcher = openWatcher();
    ASSERT_TRUE(watcher);
    EXPECT_EQ(program(watcher->readChanges()), m_gameExe);
    stopProgram(m_server);
    EXPECT_EQ(nextReport(*watcher), "");
    EXPECT_EQ(watcher->fd(), -1);
}

// The whole way: the monitor follows the real window to the game's profile
// (block and notice) and back.
TEST_F(ActiveWindowWatcherTest, TheMonitorSwitchesToTheGamesProfileAndBack) {
    test::TempDir runtime, folder;
    auto settings = std::make_unique<SharedBlock>();
    resetAllProfiles(*settings, LanguageStrings());
    copyToField(settings->profiles[2].GameFile, m_gameExe);
    WorkingSet(folder.folder()).writeWorkingSet(*settings, 0);
    MessageSocket program;
    ASSERT_TRUE(program.bind(runtime.folder() + kProgramSocketName));
    const test::RunningMonitor monitor(runtime.folder(), folder.folder(),
                                       std::chrono::milliseconds(0),
                                       [&](Monitor& m) { m.followGames(openWatcher(), "X11"); });
    ASSERT_TRUE(monitor.published);
    const auto switchedTo = [&](int profile) {
        const bool noticed = test::waitUntil([&] {
            const auto message = program.receive();
            return message && message->message == kMsgDeviceChanged;
        });
        EXPECT_TRUE(MonitorCommands::readBlock(runtime.folder(), *settings));
        return noticed && settings->CurrentProfile == profile;
    };

    setActive(m_window);
    EXPECT_TRUE(switchedTo(2));
    setActive(XCB_WINDOW_NONE);
    EXPECT_TRUE(switchedTo(0));
}

TEST(ActiveWindowWatcherOpen, WithoutADisplay) {
    // A display number whose socket and lock nobody holds.
    int free = 900;
    while (std::filesystem::exists("/tmp/.X" + std::to_string(free) + "-lock") ||
           std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(free)))
        ++free;
    const std::string unserved = ":" + std::to_string(free);
    for (const char* display : {static_cast<const char*>(nullptr), "", unserved.c_str()}) {
        SCOPED_TRACE(display ? display : "unset");
        if (display)
            ::setenv("DISPLAY", display, 1);
        else
            ::unsetenv("DISPLAY");
        std::string whyNot;
        EXPECT_EQ(ActiveWindowWatcher::open(whyNot), nullptr);
        EXPECT_FALSE(whyNot.empty());
    }
}

} // namespace
