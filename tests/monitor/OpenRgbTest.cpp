// The OpenRGB client: the controller description's layout by protocol
// version, and the lighting against a fake server (the handshake, the frames,
// a changed device list, bad and stalled servers, a restart), alone and in
// the monitor's loop.
#include "link/LinkMessage.h"
#include "link/LinkNames.h"
#include "link/MessageSocket.h"
#include "monitor/lighting/ControllerDescription.h"
#include "monitor/lighting/KeyboardLighting.h"
#include "monitor/service/MonitorCommands.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "tests/Wait.h"
#include "tests/monitor/FakeOpenRgbServer.h"
#include "tests/monitor/PipeMonitor.h"

#include <gtest/gtest.h>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Controller = FakeOpenRgbServer::Controller;

constexpr uint32_t kRedAt30 = 77; // (255 * 3 + 5) / 10
constexpr uint32_t kLogo = 0x0A0B0C;

// "Logo" is Escape by its alternate name, which only version 5 sends.
const Controller kKeyboard{5, "K", {"Key: A", "Logo"}, {1, kLogo}, {"", "Key: Escape"}};
const Controller kMouse{6, "M", {"Wheel"}, {2}, {}};

std::unique_ptr<ProfileRecord> profile(int32_t effect) {
    auto p = std::make_unique<ProfileRecord>();
    resetProfile(*p, 0, LanguageStrings());
    p->LtSwitch = effect;
    p->Brightness[0] = 3;
    return p;
}

std::unique_ptr<KeyboardLighting> lighting(const FakeOpenRgbServer& server, int32_t effect) {
    std::string whyNot;
    auto l = std::make_unique<KeyboardLighting>(std::make_unique<OpenRgbClient>(
        *OpenRgbClient::resolve(server.address(), whyNot), std::vector<std::string>{}, 200ms));
    l->setProfile(*profile(effect));
    return l;
}

// Runs the lighting as the monitor's loop does until done holds (or 5 s pass);
// check runs after every turn.
bool pumpUntil(
    KeyboardLighting& l, const std::function<bool()>& done,
    const std::function<void()>& check = [] {}) {
    const auto limit = Clock::now() + 5s;
    std::vector<pollfd> fds;
    while (!done()) {
        if (Clock::now() > limit)
            return false;
        l.update(Clock::now());
        fds.clear();
        l.addFds(fds);
        ::poll(fds.data(), fds.size(), 10);
        for (const pollfd& fd : fds)
            if (fd.revents)
                l.handle(fd, Clock::now());
        check();
    }
    return true;
}

std::vector<uint32_t> words(const std::vector<uint8_t>& bytes, size_t from) {
    std::vector<uint32_t> out;
    for (size_t at = from; at + 4 <= bytes.size(); at += 4)
        out.push_back(OpenRgbPacket::u32(&bytes[at]));
    return out;
}

TEST(ControllerDescriptionTest, ReadsEachVersionsLayoutAndNothingElse) {
    struct Case {
        uint32_t version;
        size_t bytes; // counted from the layout's table by hand
        size_t segments;
        size_t altNames;
    };
    for (const Case& c : {Case{3, 183, 0, 0}, Case{4, 203, 1, 0}, Case{5, 230, 1, 2}}) {
        SCOPED_TRACE(c.version);
        const std::vector<uint8_t> bytes = FakeOpenRgbServer::describe(kKeyboard, c.version);
        ASSERT_EQ(bytes.size(), c.bytes);
        const auto d = ControllerDescription::parse(bytes, c.version);
        ASSERT_TRUE(d);
        EXPECT_EQ(std::tie(d->type, d->name, d->location), std::make_tuple(5, "K", "L"));
        ASSERT_EQ(d->modes.size(), 1u);
        const ControllerDescription::Mode& m = d->modes[0];
        EXPECT_EQ(std::tie(m.name, m.brightnessMax, m.colourMode),
                  std::make_tuple("Direct", 5u, 11u));
        EXPECT_EQ(m.colours, std::vector<uint32_t>{0x123456});
        ASSERT_EQ(d->zones.size(), 1u);
        EXPECT_EQ(d->zones[0].matrix, (std::vector<uint32_t>{0, 1}));
        EXPECT_EQ(d->zones[0].segments.size(), c.segments);
        EXPECT_EQ(d->ledNames, (std::vector<std::string>{"Key: A", "Logo"}));
        EXPECT_EQ(d->colours, (std::vector<uint32_t>{1, kLogo}));
        EXPECT_EQ(d->ledAltNames.size(), c.altNames);
        // Read at another version, or cut anywhere, it is refused.
        EXPECT_FALSE(ControllerDescription::parse(bytes, c.version == 5 ? 4 : c.version + 1));
        for (size_t cut = 0; cut < bytes.size(); ++cut) {
            std::vector<uint8_t> shorter(bytes.begin(), bytes.begin() + long(cut));
            if (cut >= 4)
                std::memcpy(shorter.data(), &cut, 4);
            EXPECT_FALSE(ControllerDescription::parse(shorter, c.version)) << cut;
        }
    }
}

TEST(OpenRgbClientTest,
     TakesTheKeyboardsAgainAfterEachListingAndSendsWholeFramesAtTheAgreedVersion) {
    for (const uint32_t version : {1u, 3u, 4u, 5u, 6u}) {
        SCOPED_TRACE(version);
        FakeOpenRgbServer server(version, {kMouse, kKeyboard});
        auto l = lighting(server, 0);
        ASSERT_TRUE(pumpUntil(*l, [&] { return !server.received(1050).empty(); }));

        const auto data = server.received(OpenRgbPacket::kRequestControllerData);
        ASSERT_EQ(data.size(), 2u);
        EXPECT_EQ(OpenRgbPacket::u32(data[1].payload.data()), std::min(version, 5u));
        const auto name = server.received(OpenRgbPacket::kSetClientName);
        ASSERT_EQ(name.size(), 1u);
        EXPECT_STREQ(reinterpret_cast<const char*>(name[0].payload.data()), "vantrel-monitor");
        const auto custom = server.received(OpenRgbPacket::kSetCustomMode);
        ASSERT_EQ(custom.size(), 1u);
        EXPECT_EQ(custom[0].device, 1u);

        const auto frame = server.received(OpenRgbPacket::kUpdateLeds)[0];
        EXPECT_EQ(frame.device, 1u);
        EXPECT_EQ(OpenRgbPacket::u32(frame.payload.data()), frame.payload.size());
        EXPECT_EQ(frame.payload[4] | frame.payload[5] << 8, 2);
        const uint32_t logo = version >= 5 ? kRedAt30 : kLogo;
        EXPECT_EQ(words(frame.payload, 6), (std::vector<uint32_t>{kRedAt30, logo}));

        // A changed device list: listed again, both keyboards taken and lit.
        server.changeControllers({kKeyboard, kMouse, kKeyboard});
        ASSERT_TRUE(pumpUntil(*l, [&] { return server.received(1050).size() == 3; }));
        const auto frames = server.received(OpenRgbPacket::kUpdateLeds);
        EXPECT_EQ(std::tie(frames[1].device, frames[2].device), std::make_tuple(0u, 2u));
        EXPECT_EQ(server.received(OpenRgbPacket::kSetCustomMode).size(), 3u);
    }
}

TEST(OpenRgbClientTest, DropsABadServerAndTriesAgainLater) {
    std::vector<uint8_t> oversize;
    OpenRgbPacket::append(oversize, 0, 7);
    oversize[12] = 0x01;
    oversize[14] = 0x80; // 8 MiB and a byte
    const std::vector<uint8_t> notAPacket(16, 'X');
    std::vector<uint8_t> badCount;
    OpenRgbPacket::append(badCount, 0, OpenRgbPacket::kRequestControllerCount, notAPacket);
    for (const auto& bad : {oversize, notAPacket, badCount}) {
        FakeOpenRgbServer server(5, {kKeyboard});
        auto l = lighting(server, 0);
        ASSERT_TRUE(pumpUntil(*l, [&] { return l->client().ready(); }));
        server.changeControllers({kKeyboard});
        server.send(bad);
        ASSERT_TRUE(pumpUntil(*l, [&] { return l->client().fd() < 0; }));
        ASSERT_TRUE(
            pumpUntil(*l, [&] { return server.connections() == 2 && l->client().ready(); }));
    }
}

TEST(OpenRgbClientTest, ReplacesFramesAServerDoesNotReadAndDropsIt) {
    // 4000 LEDs: a frame of 16 kB, more than the socket holds.
    Controller big{
        5, "Big", std::vector<std::string>(4000, "Key: A"), std::vector<uint32_t>(4000, 0), {}};
    FakeOpenRgbServer server(5, {big});
    auto l = lighting(server, 2);
    ASSERT_TRUE(pumpUntil(*l, [&] { return !server.received(1050).empty(); }));
    server.stopReading(true);
    size_t most = 0;
    ASSERT_TRUE(pumpUntil(
        *l, [&] { return l->client().fd() < 0; },
        [&] { most = std::max(most, l->client().unsentBytes()); }));
    EXPECT_GT(most, 0u);
    EXPECT_LE(most, 16u + 6 + 4 * 4000);
    server.stopReading(false);
    ASSERT_TRUE(pumpUntil(*l, [&] { return server.connections() == 2 && l->client().ready(); }));
}

TEST(OpenRgbClientTest, ComesBackWhenTheServerRestartsSayingOnceThatItIsAway) {
    auto server = std::make_unique<FakeOpenRgbServer>(5, std::vector{kKeyboard});
    const uint16_t port = server->port();
    auto l = lighting(*server, 0);
    ASSERT_TRUE(pumpUntil(*l, [&] { return l->client().ready(); }));
    server.reset();
    ::testing::internal::CaptureStderr();
    pumpUntil(*l, [start = Clock::now()] { return Clock::now() - start > 1s; });
    const std::string said = ::testing::internal::GetCapturedStderr();
    // The loss, then one line for the five attempts that found no server.
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_NE(said.find("OpenRGB is not running at 127.0.0.1:"), std::string::npos);
    server = std::make_unique<FakeOpenRgbServer>(5, std::vector{kKeyboard}, port);
    ASSERT_TRUE(pumpUntil(*l, [&] { return !server->received(1050).empty(); }));
}

// The monitor's loop with the lighting (and a keyboard on a pipe), over the
// real link in a runtime folder of the test's own.
class OpenRgbMonitorTest : public PipeMonitor {
protected:
    void start(int32_t effect) {
        auto block = std::make_unique<SharedBlock>();
        resetAllProfiles(*block, LanguageStrings());
        block->profiles[0] = *profile(effect);
        block->profiles[0].MacroKeyInfo[1].assignType = 69; // F1 brightens
        PipeMonitor::start(*block, [&](Monitor& m) { m.showLighting(lighting(server, effect)); });
    }
    // The colours of the last frame.
    std::vector<uint32_t> shown() {
        const auto frames = server.received(OpenRgbPacket::kUpdateLeds);
        return frames.empty() ? std::vector<uint32_t>{} : words(frames.back().payload, 6);
    }

    FakeOpenRgbServer server{5, {kKeyboard}};
};

TEST_F(OpenRgbMonitorTest, AnApplyShowsTheNewEffectOnTheKeyboard) {
    start(2);
    // Wave moves: frames keep coming.
    ASSERT_TRUE(waitUntil([&] { return server.received(1050).size() > 5; }));
    ASSERT_TRUE(MonitorCommands::switchProfile(runtime.folder(), 0, 0));
    MessageSocket::post(runtime.folder() + kMonitorSocketName, {kMsgApplied, 1, 0});
    EXPECT_TRUE(waitUntil(
        [&] {
            return shown() == std::vector<uint32_t>{kRedAt30, kRedAt30};
        },
        1s));
    // Static: that frame, and no more.
    const size_t frames = server.received(1050).size();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(server.received(1050).size(), frames);
}

TEST_F(OpenRgbMonitorTest, TheBrightnessKeyShowsAtOnce) {
    start(0);
    ASSERT_TRUE(waitUntil([&] { return shown() == std::vector<uint32_t>{kRedAt30, kRedAt30}; }));
    press(KEY_F1, 1);
    EXPECT_TRUE(waitUntil([&] { return shown() == std::vector<uint32_t>{102, 102}; }, 1s));
}

TEST_F(OpenRgbMonitorTest, AKeyPressLightsItsKeyInTheReactiveEffect) {
    start(4);
    ASSERT_TRUE(waitUntil([&] { return shown() == std::vector<uint32_t>{0, 0}; }));
    press(KEY_A, 1);
    ASSERT_TRUE(waitUntil([&] { return !shown().empty() && shown()[0] != 0; }));
    EXPECT_EQ(shown()[1], 0u); // Escape stays dark
}

} // namespace
} // namespace vantrel::test
