// The monitor's side of the KWin script and the GNOME Shell extension, on a
// private session bus with a fake desktop that answers as KWin's scripting
// interface does and calls the monitor as the script and the extension do.
#include "monitor/games/DesktopBusWatcher.h"
#include "tests/ChildProgram.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"
#include "tests/monitor/FollowingMonitor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

// A desktop on the bus in a thread of its own, as KWin (the script object
// at scriptPath) or GNOME Shell (name only).
class FakeDesktop {
public:
    FakeDesktop(const char* name, std::string scriptPath) : m_scriptPath(std::move(scriptPath)) {
        sd_bus_open_user(&m_bus);
        static const sd_bus_vtable scripting[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("loadScript", "ss", "i", loadScript, 0),
            SD_BUS_METHOD("unloadScript", "s", "b", unloadScript, 0),
            SD_BUS_VTABLE_END,
        };
        static const sd_bus_vtable script[] = {
            SD_BUS_VTABLE_START(0),
            SD_BUS_METHOD("run", "", "", run, 0),
            SD_BUS_VTABLE_END,
        };
        if (!m_scriptPath.empty()) {
            sd_bus_add_object_vtable(m_bus, nullptr, "/Scripting", "org.kde.kwin.Scripting",
                                     scripting, this);
            sd_bus_add_object_vtable(m_bus, nullptr, m_scriptPath.c_str(), "org.kde.kwin.Script",
                                     script, this);
        }
        sd_bus_request_name(m_bus, name, 0);
        m_thread = std::thread([this] {
            while (!m_stop) {
                if (sd_bus_process(m_bus, nullptr) == 0)
                    sd_bus_wait(m_bus, 50'000);
            }
        });
    }
    ~FakeDesktop() {
        m_stop = true;
        m_thread.join();
        sd_bus_flush_close_unref(m_bus);
    }

    std::string loaded;
    std::atomic<int> unloads = 0;

private:
    static int loadScript(sd_bus_message* call, void* data, sd_bus_error*) {
        auto* desktop = static_cast<FakeDesktop*>(data);
        const char* file = nullptr;
        const char* plugin = nullptr;
        sd_bus_message_read(call, "ss", &file, &plugin);
        desktop->loaded = std::string(file) + " as " + plugin;
        return sd_bus_reply_method_return(call, "i", 7);
    }
    static int unloadScript(sd_bus_message* call, void* data, sd_bus_error*) {
        ++static_cast<FakeDesktop*>(data)->unloads;
        return sd_bus_reply_method_return(call, "b", 1);
    }
    // What the script does first: it reports the window active at its start.
    static int run(sd_bus_message* call, void*, sd_bus_error*) {
        sd_bus* bus = sd_bus_message_get_bus(call);
        sd_bus_call_method_async(bus, nullptr, DesktopBusWatcher::kBusName,
                                 DesktopBusWatcher::kBusPath, DesktopBusWatcher::kBusInterface,
                                 "ActiveWindow", nullptr, nullptr, "sss",
                                 std::to_string(::getpid()).c_str(), "Factorio", "factorio");
        return sd_bus_reply_method_return(call, "");
    }

    sd_bus* m_bus = nullptr;
    std::string m_scriptPath;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

class DesktopBusWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::system("command -v dbus-daemon >/dev/null") != 0)
            GTEST_SKIP() << "dbus-daemon is not installed (scripts/deps.sh installs it)";
        const std::string address =
            startProgram({"dbus-daemon", "--session", "--nofork", "--print-address"}, m_daemon);
        ASSERT_FALSE(address.empty()) << "dbus-daemon did not start";
        ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        writeFile(m_folder.file("kwin/vantrel-follow-games.js"), "// the script\n");
    }
    void TearDown() override {
        sd_bus_flush_close_unref(m_reporter);
        stopProgram(m_daemon);
    }

    // The window the desktop reports as the script or the extension would,
    // from a connection that stays, as the desktop's does.
    void report(const std::string& pid, const std::string& windowClass,
                const std::string& instance) {
        if (!m_reporter)
            sd_bus_open_user(&m_reporter);
        sd_bus_call_method_async(m_reporter, nullptr, DesktopBusWatcher::kBusName,
                                 DesktopBusWatcher::kBusPath, DesktopBusWatcher::kBusInterface,
                                 "ActiveWindow", answered, this, "sss", pid.c_str(),
                                 windowClass.c_str(), instance.c_str());
        sd_bus_flush(m_reporter);
    }

    // The watcher's next report; nullopt when it stays quiet for 2 seconds.
    static std::optional<ActiveWindow> nextReport(WindowSource& watcher) {
        for (;;) {
            if (auto report = watcher.readChanges())
                return report;
            pollfd wait{watcher.fd(), POLLIN, 0};
            if (::poll(&wait, 1, 2000) != 1)
                return std::nullopt;
        }
    }

    static int answered(sd_bus_message* reply, void* data, sd_bus_error*) {
        auto* test = static_cast<DesktopBusWatcherTest*>(data);
        ++test->m_answers;
        test->m_refusals += sd_bus_message_is_method_error(reply, nullptr);
        return 0;
    }

    pid_t m_daemon = -1;
    sd_bus* m_reporter = nullptr;
    int m_answers = 0;
    int m_refusals = 0;
    TempDir m_folder;
};

TEST_F(DesktopBusWatcherTest, KWinRunsTheScriptWhichReportsTheActiveWindow) {
    // KWin 6 keeps a loaded script at /Scripting/Script<id>, KWin 5 at /<id>.
    for (const char* scriptPath : {"/Scripting/Script7", "/7"}) {
        SCOPED_TRACE(scriptPath);
        FakeDesktop kwin("org.kde.KWin", scriptPath);
        std::string whyNot;
        {
            auto watcher = DesktopBusWatcher::open(m_folder.folder(), whyNot);
            ASSERT_TRUE(watcher) << whyNot;
            EXPECT_EQ(kwin.loaded,
                      m_folder.file("kwin/vantrel-follow-games.js") + " as vantrel-follow-games");
            const std::optional<ActiveWindow> first = nextReport(*watcher);
            ASSERT_TRUE(first);
            EXPECT_EQ(first->exe, std::filesystem::canonical("/proc/self/exe").string());
            EXPECT_EQ(first->classes, (std::vector<std::string>{"Factorio", "factorio"}));
            EXPECT_EQ(kwin.unloads, 1); // a script an earlier monitor left
        }
        EXPECT_EQ(kwin.unloads, 2); // so that KWin stops calling
    }
}

// The script's first report comes while KWin runs it, before the monitor
// serves; the monitor follows it all the same.
TEST_F(DesktopBusWatcherTest, TheMonitorFollowsTheReportOfTheScriptsStart) {
    FakeDesktop kwin("org.kde.KWin", "/Scripting/Script7");
    std::string whyNot;
    auto watcher = DesktopBusWatcher::open(m_folder.folder(), whyNot);
    ASSERT_TRUE(watcher) << whyNot;
    FollowingMonitor monitor({"", "FACTORIO"}, std::move(watcher));
    EXPECT_TRUE(monitor.switchesTo(1, std::chrono::seconds(5)));
}

// The script itself, run by node as KWin 5 and 6 run it, reports each
// activation to the monitor in the strings its method takes.
TEST_F(DesktopBusWatcherTest, TheKWinScriptReportsEachActivation) {
    if (std::system("command -v node >/dev/null && command -v busctl >/dev/null") != 0)
        GTEST_SKIP() << "node or busctl is not installed (scripts/deps.sh installs them)";
    FakeDesktop kwin("org.kde.KWin", "/Scripting/Script7");
    std::string whyNot;
    auto watcher = DesktopBusWatcher::open(m_folder.folder(), whyNot);
    ASSERT_TRUE(watcher) << whyNot;
    const auto reportsUntil = [&](const std::vector<std::string>& classes, bool ours) {
        while (const std::optional<ActiveWindow> window = nextReport(*watcher)) {
            if (window->classes == classes)
                return window->exe.empty() != ours;
        }
        return false;
    };
    for (const std::string version : {"5", "6"}) {
        SCOPED_TRACE("KWin " + version);
        const std::string command = std::string("node ") + VANTREL_KWIN_SCRIPT_HOST + " " +
                                    VANTREL_KWIN_SCRIPT + " " + version + " " +
                                    std::to_string(::getpid()) +
                                    ":Steam_App_1:steam_app_1 - 0:Factorio:factorio";
        FILE* activations = ::popen(command.c_str(), "w");
        ASSERT_TRUE(activations);
        EXPECT_TRUE(reportsUntil({"Steam_App_1", "steam_app_1"}, true));
        std::fputs("\n", activations);
        std::fflush(activations);
        EXPECT_TRUE(reportsUntil({}, false));
        std::fputs("\n", activations);
        std::fflush(activations);
        EXPECT_TRUE(reportsUntil({"Factorio", "factorio"}, false));
        EXPECT_EQ(::pclose(activations), 0);
    }
}

TEST_F(DesktopBusWatcherTest, GnomeShellExtensionReports) {
    FakeDesktop shell("org.gnome.Shell", "");
    std::string whyNot;
    auto watcher = DesktopBusWatcher::open(m_folder.folder(), whyNot);
    ASSERT_TRUE(watcher) << whyNot;
    EXPECT_EQ(watcher->desktop(), DesktopBusWatcher::Desktop::GnomeShell);
    EXPECT_EQ(watcher->readChanges(), ActiveWindow());

    // A Wayland window: its app_id as class, no instance.
    report("0", "org.example.Game", "");
    std::optional<ActiveWindow> window = nextReport(*watcher);
    ASSERT_TRUE(window);
    EXPECT_EQ(window->classes, std::vector<std::string>{"org.example.Game"});
    // Bad reports are refused and change nothing.
    report("12x", "Game", "game");
    report("-1", "Game", "game");
    report("1", std::string(300, 'a'), "");
    EXPECT_TRUE(waitUntil([&] {
        EXPECT_EQ(watcher->readChanges(), std::nullopt);
        sd_bus_process(m_reporter, nullptr);
        return m_answers == 4;
    }));
    EXPECT_EQ(m_refusals, 3);
    report("0", "", "");
    window = nextReport(*watcher);
    ASSERT_TRUE(window);
    EXPECT_EQ(*window, ActiveWindow());
}

TEST_F(DesktopBusWatcherTest, NoDesktopOnTheBus) {
    std::string whyNot;
    EXPECT_FALSE(DesktopBusWatcher::open(m_folder.folder(), whyNot));
    EXPECT_NE(whyNot.find("neither KWin nor GNOME Shell"), std::string::npos) << whyNot;
    FakeDesktop kwin("org.kde.KWin", "/Scripting/Script7");
    std::filesystem::remove(m_folder.file("kwin/vantrel-follow-games.js"));
    EXPECT_FALSE(DesktopBusWatcher::open(m_folder.folder(), whyNot));
    EXPECT_NE(whyNot.find("is missing"), std::string::npos) << whyNot;
}

} // namespace
