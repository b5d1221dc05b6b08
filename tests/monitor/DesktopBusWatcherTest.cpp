// The monitor's side of the KWin script and the GNOME Shell extension, on a
// private session bus with a fake desktop that answers as KWin's scripting
// interface does and calls the monitor as the script and the extension do.
#include "monitor/games/DesktopBusWatcher.h"
#include "tests/monitor/FollowingMonitor.h"
#include "tests/monitor/PrivateBus.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace vantrel;
using namespace vantrel::test;

namespace {

// A desktop on the bus, in a thread of its own: GNOME Shell (its name only)
// or KWin, whose script object at scriptPath reports Factorio when it runs.
class FakeDesktop {
public:
    FakeDesktop(const char* name, const std::string& scriptPath) {
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
        sd_bus_open_user(&m_bus);
        if (!scriptPath.empty()) {
            sd_bus_add_object_vtable(m_bus, nullptr, "/Scripting", "org.kde.kwin.Scripting",
                                     scripting, this);
            sd_bus_add_object_vtable(m_bus, nullptr, scriptPath.c_str(), "org.kde.kwin.Script",
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
        const char* file = nullptr;
        const char* plugin = nullptr;
        sd_bus_message_read(call, "ss", &file, &plugin);
        static_cast<FakeDesktop*>(data)->loaded = std::string(file) + " as " + plugin;
        return sd_bus_reply_method_return(call, "i", 7);
    }
    static int unloadScript(sd_bus_message* call, void* data, sd_bus_error*) {
        ++static_cast<FakeDesktop*>(data)->unloads;
        return sd_bus_reply_method_return(call, "b", 1);
    }
    static int run(sd_bus_message* call, void*, sd_bus_error*) {
        sd_bus_call_method_async(sd_bus_message_get_bus(call), nullptr, DesktopBusWatcher::kBusName,
                                 DesktopBusWatcher::kBusPath, DesktopBusWatcher::kBusInterface,
                                 "ActiveWindow", nullptr, nullptr, "sss", "0", "Factorio",
                                 "factorio");
        return sd_bus_reply_method_return(call, "");
    }

    sd_bus* m_bus = nullptr;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

class DesktopBusWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (m_bus.address.empty())
            GTEST_SKIP()
                << "no dbus-daemon to make a private bus with (scripts/deps.sh installs it)";
        writeFile(m_folder.file("kwin/vantrel-follow-games.js"), "// the script\n");
    }
    void TearDown() override { sd_bus_flush_close_unref(m_reporter); }

    std::unique_ptr<DesktopBusWatcher> open() {
        std::string whyNot;
        auto watcher = DesktopBusWatcher::open(m_folder.folder(), whyNot);
        EXPECT_TRUE(watcher) << whyNot;
        return watcher;
    }

    // A report as the extension sends it, from a connection that stays.
    void report(const std::string& pid, const std::string& windowClass) {
        if (!m_reporter)
            sd_bus_open_user(&m_reporter);
        sd_bus_call_method_async(
            m_reporter, nullptr, DesktopBusWatcher::kBusName, DesktopBusWatcher::kBusPath,
            DesktopBusWatcher::kBusInterface, "ActiveWindow",
            [](sd_bus_message* reply, void* data, sd_bus_error*) {
                auto* test = static_cast<DesktopBusWatcherTest*>(data);
                ++test->m_answers;
                test->m_refusals += sd_bus_message_is_method_error(reply, nullptr);
                return 0;
            },
            this, "sss", pid.c_str(), windowClass.c_str(), "");
        sd_bus_flush(m_reporter);
    }

    // The classes of the watcher's reports until they are these and the
    // program is known or not; false when it stays quiet for 2 seconds.
    static bool reportsUntil(WindowSource& watcher, const std::vector<std::string>& classes,
                             bool knownProgram) {
        for (;;) {
            const std::optional<ActiveWindow> window = watcher.readChanges();
            if (window && window->classes == classes && window->exe.empty() != knownProgram)
                return true;
            pollfd wait{watcher.fd(), POLLIN, 0};
            if (!window && ::poll(&wait, 1, 2000) != 1)
                return false;
        }
    }

    PrivateBus m_bus;
    sd_bus* m_reporter = nullptr;
    int m_answers = 0;
    int m_refusals = 0;
    TempDir m_folder;
};

// KWin 6 keeps a loaded script at /Scripting/Script<id>, KWin 5 at /<id>.
// The script's first report comes while KWin runs it, before the monitor
// serves: the monitor follows it all the same.
TEST_F(DesktopBusWatcherTest, KWinRunsTheScriptAndTheMonitorFollowsIt) {
    for (const char* scriptPath : {"/Scripting/Script7", "/7"}) {
        SCOPED_TRACE(scriptPath);
        FakeDesktop kwin("org.kde.KWin", scriptPath);
        {
            FollowingMonitor monitor({"", "FACTORIO"}, open());
            EXPECT_TRUE(monitor.switchesTo(1, std::chrono::seconds(5)));
            EXPECT_EQ(kwin.loaded,
                      m_folder.file("kwin/vantrel-follow-games.js") + " as vantrel-follow-games");
            EXPECT_EQ(kwin.unloads, 1); // a script an earlier monitor left
        }
        EXPECT_EQ(kwin.unloads, 2); // so that KWin stops calling
    }
}

// The script and the extensions themselves, run by node as KWin 5 and 6 and
// GNOME Shell 43 and 45 run them (DesktopScriptHost.js).
TEST_F(DesktopBusWatcherTest, TheScriptAndTheExtensionsReportEachFocusChange) {
    if (std::system("command -v node >/dev/null && command -v busctl >/dev/null") != 0)
        GTEST_SKIP() << "node or busctl is not installed (scripts/deps.sh installs them)";
    FakeDesktop kwin("org.kde.KWin", "/Scripting/Script7");
    auto watcher = open();
    ASSERT_TRUE(watcher);
    const std::string extensions = VANTREL_DESKTOP_DIR "/gnome-shell/vantrel-follow-games";
    for (const auto& [kind, file] :
         {std::pair{"kwin5", std::string(VANTREL_DESKTOP_DIR "/kwin/vantrel-follow-games.js")},
          {"kwin6", VANTREL_DESKTOP_DIR "/kwin/vantrel-follow-games.js"},
          {"gnome43", extensions + "-43@example.vantrel_gaming/extension.js"},
          {"gnome45", extensions + "@example.vantrel_gaming/extension.js"}}) {
        SCOPED_TRACE(kind);
        FILE* focus = ::popen(("node " VANTREL_DESKTOP_SCRIPT_HOST " " + std::string(kind) + " " +
                               file + " " + std::to_string(::getpid()) +
                               ":Steam_App_1:steam_app_1 - 0:Factorio:factorio")
                                  .c_str(),
                              "w");
        ASSERT_TRUE(focus);
        EXPECT_TRUE(reportsUntil(*watcher, {"Steam_App_1", "steam_app_1"}, true));
        std::fputs("\n", focus);
        std::fflush(focus);
        EXPECT_TRUE(reportsUntil(*watcher, {}, false));
        std::fputs("\n", focus);
        std::fflush(focus);
        EXPECT_TRUE(reportsUntil(*watcher, {"Factorio", "factorio"}, false));
        EXPECT_EQ(::pclose(focus), 0);
    }
}

TEST_F(DesktopBusWatcherTest, TheGnomeShellExtensionReportsBadReportsAreRefused) {
    FakeDesktop shell("org.gnome.Shell", "");
    auto watcher = open();
    ASSERT_TRUE(watcher);
    report("0", "org.example.Game"); // a Wayland window: its app_id
    EXPECT_TRUE(reportsUntil(*watcher, {"org.example.Game"}, false));
    report("12x", "Game");
    report("-1", "Game");
    report("1", std::string(300, 'a'));
    EXPECT_TRUE(waitUntil([&] {
        EXPECT_EQ(watcher->readChanges(), std::nullopt);
        sd_bus_process(m_reporter, nullptr);
        return m_answers == 4;
    }));
    EXPECT_EQ(m_refusals, 3);
}

TEST_F(DesktopBusWatcherTest, NoDesktopOrNoScript) {
    std::string whyNot;
    EXPECT_FALSE(DesktopBusWatcher::open(m_folder.folder(), whyNot));
    EXPECT_NE(whyNot.find("neither KWin nor GNOME Shell"), std::string::npos) << whyNot;
    FakeDesktop kwin("org.kde.KWin", "/Scripting/Script7");
    std::filesystem::remove(m_folder.file("kwin/vantrel-follow-games.js"));
    EXPECT_FALSE(DesktopBusWatcher::open(m_folder.folder(), whyNot));
    EXPECT_NE(whyNot.find("is missing"), std::string::npos) << whyNot;
}

} // namespace
