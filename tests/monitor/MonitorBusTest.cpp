// Sleep and desktop notices over a private D-Bus daemon of the test's own,
// with a fake logind and a fake notification service written with sd-bus.
#include "lighting/EffectTable.h"
#include "monitor/service/MonitorCommands.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"
#include "tests/Wait.h"
#include "tests/monitor/PipeMonitor.h"
#include "tests/monitor/PrivateBus.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vantrel::test {
namespace {

// A peer on the private bus under a well-known name, answering the calls to
// one object; it serves only while the test waits on it.
struct FakeService {
    using Answer = std::function<void(sd_bus_message* call)>;
    FakeService(const char* name, const char* path, Answer answer) : answer(std::move(answer)) {
        sd_bus_open_user(&bus);
        sd_bus_add_object(bus, nullptr, path, &FakeService::called, this);
        sd_bus_request_name(bus, name, 0);
    }
    ~FakeService() { sd_bus_close_unref(bus); }
    bool serveUntil(const std::function<bool()>& done) {
        return waitUntil(done, std::chrono::seconds(5), [&] {
            while (sd_bus_process(bus, nullptr) > 0) {
            }
            sd_bus_wait(bus, 10'000);
        });
    }
    static int called(sd_bus_message* call, void* self, sd_bus_error*) {
        if (sd_bus_message_is_method_call(call, nullptr, nullptr) <= 0)
            return 0;
        static_cast<FakeService*>(self)->answer(call);
        return 1;
    }
    sd_bus* bus = nullptr;
    Answer answer;
};

bool hungUp(int fd) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 0) == 1 && (p.revents & POLLHUP);
}

class MonitorBusTest : public PipeMonitor {
protected:
    static void SetUpTestSuite() { s_bus = std::make_unique<PrivateBus>(); }
    static void TearDownTestSuite() { s_bus.reset(); }
    void SetUp() override {
        if (s_bus->address.empty())
            GTEST_SKIP() << "no dbus-daemon to make a private bus with";
    }

    // Profile 1 is "Shooter"; profile 0 has F1 switch to it, profile 1 has
    // A and B step the brightness up and down and C take the next effect.
    void start(const std::function<void(Monitor&)>& more) {
        auto block = std::make_unique<SharedBlock>();
        resetAllProfiles(*block, LanguageStrings());
        block->profiles[0].MacroKeyInfo[RemapEngine::position(KEY_F1)].assignType = 65;
        copyToField(block->profiles[1].ProFileName, "Shooter");
        for (const auto& [code, type] : {std::pair{KEY_A, 69}, {KEY_B, 70}, {KEY_C, 71}})
            block->profiles[1].MacroKeyInfo[RemapEngine::position(code)].assignType = type;
        block->profiles[1].Brightness[6] = 7; // effect 6 is the factory effect
        writeFile(folder.file("lan.ini"),
                  "[Strings]\n" + std::to_string(EffectTable::labelString(7)) + "=Rain\n");
        PipeMonitor::start(*block, more);
    }

    static inline std::unique_ptr<PrivateBus> s_bus;
};

TEST_F(MonitorBusTest, SleepLetsGoOfTheKeysBeforeItGoesOnAndResumeTakesANewLock) {
    std::vector<std::string> asked;
    std::vector<int> locks; // the read ends of the pipes handed out
    FakeService logind("org.freedesktop.login1", "/org/freedesktop/login1", [&](sd_bus_message* m) {
        const char *what = "", *who = "", *why = "", *mode = "";
        sd_bus_message_read(m, "ssss", &what, &who, &why, &mode);
        asked.push_back(std::string(sd_bus_message_get_member(m)) + " " + what + " " + mode);
        int ends[2];
        ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        locks.push_back(ends[0]);
        sd_bus_reply_method_return(m, "h", ends[1]);
        ::close(ends[1]);
    });
    const auto announce = [&](bool sleeping) {
        sd_bus_emit_signal(logind.bus, "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                           "PrepareForSleep", "b", sleeping);
        sd_bus_flush(logind.bus);
    };
    start([](Monitor& m) {
        std::string whyNot;
        EXPECT_TRUE(m.watchSleep(whyNot)) << whyNot;
    });
    ASSERT_TRUE(logind.serveUntil([&] { return locks.size() == 1; }));
    press(KEY_B, 1);
    ASSERT_EQ(output(1), (std::vector<Sent>{key(KEY_B, 1)}));
    EXPECT_FALSE(hungUp(locks[0]));

    // The key is up by the time the lock lets the sleep go on.
    announce(true);
    ASSERT_TRUE(waitUntil([&] { return hungUp(locks[0]); }));
    EXPECT_EQ(output(1, std::chrono::milliseconds(0)), (std::vector<Sent>{key(KEY_B, 0)}));

    announce(false);
    ASSERT_TRUE(logind.serveUntil([&] { return locks.size() == 2; }));
    EXPECT_EQ(asked, (std::vector<std::string>{"Inhibit sleep delay", "Inhibit sleep delay"}));
    // The key held through the sleep comes up and sends nothing more.
    press(KEY_B, 0);
    press(KEY_C, 1);
    EXPECT_EQ(output(1), (std::vector<Sent>{key(KEY_C, 1)}));
    for (const int fd : locks)
        ::close(fd);
}

TEST_F(MonitorBusTest, NoticesSayWhatTheKeysChangedEachReplacingTheLast) {
    std::vector<std::string> notices; // the app, the number replaced, the summary
    FakeService service("org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                        [&](sd_bus_message* m) {
                            const char *app = "", *icon = "", *summary = "";
                            uint32_t replaces = 0;
                            sd_bus_message_read(m, "suss", &app, &replaces, &icon, &summary);
                            notices.push_back(std::string(app) + " | " + std::to_string(replaces) +
                                              " | " + summary);
                            // A number of its own each time: the next notice must take the last.
                            sd_bus_reply_method_return(m, "u", uint32_t(40 + notices.size()));
                        });
    start([&](Monitor& m) {
        std::string whyNot;
        m.showNotices(DesktopNotices::open(LanguageStrings(folder.file("lan.ini")), whyNot));
    });
    tap(KEY_F1);
    ASSERT_TRUE(service.serveUntil([&] { return notices.size() == 1; }));
    // Three keys before the first of them is answered: the second notice
    // waits for the number and the third replaces it while it waits.
    tap(KEY_A);
    tap(KEY_B);
    tap(KEY_C);
    auto block = std::make_unique<SharedBlock>();
    ASSERT_TRUE(waitUntil([&] {
        return MonitorCommands::readBlock(runtime.folder(), *block) &&
               block->profiles[1].LtSwitch == 7;
    }));
    ASSERT_TRUE(service.serveUntil([&] { return notices.size() == 3; }));
    EXPECT_EQ(notices, (std::vector<std::string>{"Vantrel Gaming Keyboard | 0 | Profile 2: Shooter",
                                                 "Vantrel Gaming Keyboard | 41 | Brightness 80 %",
                                                 "Vantrel Gaming Keyboard | 42 | Effect: Rain"}));
}

TEST_F(MonitorBusTest, WithoutABusThereIsNeitherNoticeNorSleepWatch) {
    PrivateBus::use("unix:path=" + runtime.file("no-bus"));
    std::string whyNot;
    EXPECT_FALSE(DesktopNotices::open(LanguageStrings(), whyNot));
    EXPECT_FALSE(SleepWatcher::open([](bool) {}, whyNot));
    PrivateBus::use(s_bus->address);
}

} // namespace
} // namespace vantrel::test
