#include "monitor/engine/RemapEngine.h"
#include "monitor/engine/DryRunPrinter.h"
#include "monitor/engine/EscapeChord.h"
#include "monitor/engine/InputCodeTable.h"
#include "monitor/engine/LightingSteps.h"
#include "settings/KeyTable.h"
#include "settings/ProfileDefaults.h"
#include "tests/monitor/FakeDevices.h"

#include <gtest/gtest.h>

#include <memory>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;

constexpr int kPositionA = 49; // sends usage 4, the A key
constexpr int kPositionS = 50;

// An engine on a factory profile with the key functions a test sets, and a
// clock of its own.
class RemapEngineTest : public ::testing::Test {
protected:
    RemapEngineTest() {
        for (int k = 0; k < kKeyPositions; ++k) {
            profile->MacroKeyInfo[k].keyIndex = static_cast<uint8_t>(k);
            profile->MacroKeyInfo[k].assignType = kAssignStandard;
            profile->standardkey[k] = kDefaultStandardKeys[k];
        }
    }
    MacroKeyInfo& function(int position) { return profile->MacroKeyInfo[position]; }
    void take() { engine.setProfile(*profile); }
    void tap(uint16_t code, RemapEngine::TimePoint at = {}) {
        engine.key(code, 1, at);
        engine.key(code, 0, at);
    }
    // A macro on key A.
    void macro(std::initializer_list<KeyEvent> events, int mode, int repeat) {
        MacroKeyInfo& f = function(kPositionA);
        f.assignType = kAssignMacro;
        f.macroMode = mode;
        f.repeatCount = repeat;
        f.eventCount = static_cast<uint16_t>(events.size());
        std::copy(events.begin(), events.end(), f.events);
        take();
    }
    // Runs the clock in steps of a millisecond and notes when each event went out.
    std::vector<std::pair<int, Sent>> runUntil(int endMs) {
        std::vector<std::pair<int, Sent>> timed;
        for (int ms = 0; ms <= endMs; ++ms) {
            if (ms == pressAt)
                engine.key(KEY_A, 1, RemapEngine::TimePoint(ms * 1ms));
            if (ms == releaseAt)
                engine.key(KEY_A, 0, RemapEngine::TimePoint(ms * 1ms));
            if (ms == secondPressAt)
                engine.key(KEY_A, 1, RemapEngine::TimePoint(ms * 1ms));
            engine.advance(RemapEngine::TimePoint(ms * 1ms));
            for (const Sent& s : output.take())
                timed.emplace_back(ms, s);
        }
        return timed;
    }

    std::unique_ptr<ProfileRecord> profile = std::make_unique<ProfileRecord>();
    RecordingOutput output;
    RecordingActions actions;
    RemapEngine engine{output, actions};
    int pressAt = 0, releaseAt = -1, secondPressAt = -1;
};

struct HeldCase {
    uint8_t type;
    std::vector<Sent> onPress;
    std::vector<Sent> onRelease;
};

void PrintTo(const HeldCase& c, std::ostream* out) {
    *out << "type " << int(c.type);
}

class HeldFunctionTest : public RemapEngineTest, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldFunctionTest, SendsOnPressAndRelease) {
    function(kPositionA).assignType = GetParam().type;
    take();
    engine.key(KEY_A, 1, {});
    EXPECT_EQ(output.take(), GetParam().onPress);
    engine.key(KEY_A, 0, {});
    EXPECT_EQ(output.take(), GetParam().onRelease);
    EXPECT_TRUE(actions.asked.empty());
}

const Sent kWheelUp[] = {{EV_REL, REL_WHEEL, 1}, {EV_REL, REL_WHEEL_HI_RES, 120}};
const Sent kWheelDown[] = {{EV_REL, REL_WHEEL, -1}, {EV_REL, REL_WHEEL_HI_RES, -120}};

INSTANTIATE_TEST_SUITE_P(
    Types, HeldFunctionTest,
    ::testing::Values(
        HeldCase{kAssignStandard, {key(KEY_A, 1)}, {key(KEY_A, 0)}},
        HeldCase{1, {}, {}}, // disabled
        HeldCase{24, {key(BTN_LEFT, 1)}, {key(BTN_LEFT, 0)}},
        HeldCase{27, {key(BTN_SIDE, 1)}, {key(BTN_SIDE, 0)}},
        HeldCase{28, {key(BTN_EXTRA, 1)}, {key(BTN_EXTRA, 0)}},
        HeldCase{29, {std::begin(kWheelUp), std::end(kWheelUp)}, {}},
        HeldCase{30, {std::begin(kWheelDown), std::end(kWheelDown)}, {}},
        HeldCase{31, {key(BTN_LEFT, 1), key(BTN_LEFT, 0), key(BTN_LEFT, 1), key(BTN_LEFT, 0)}, {}},
        HeldCase{33, {key(KEY_PLAYPAUSE, 1)}, {key(KEY_PLAYPAUSE, 0)}},
        HeldCase{39, {key(KEY_VOLUMEUP, 1)}, {key(KEY_VOLUMEUP, 0)}},
        HeldCase{40, {key(KEY_FILE, 1)}, {key(KEY_FILE, 0)}},
        HeldCase{49, {key(KEY_WWW, 1)}, {key(KEY_WWW, 0)}},
        HeldCase{55, {key(KEY_HOMEPAGE, 1)}, {key(KEY_HOMEPAGE, 0)}},
        HeldCase{57, {key(KEY_CALC, 1)}, {key(KEY_CALC, 0)}},
        HeldCase{241, {key(BTN_LEFT, 1)}, {key(BTN_LEFT, 0)}},
        HeldCase{244, {key(BTN_SIDE, 1)}, {key(BTN_SIDE, 0)}},
        HeldCase{8, {std::begin(kWheelUp), std::end(kWheelUp)}, {}},
        HeldCase{5, {std::begin(kWheelDown), std::end(kWheelDown)}, {}},
        // A type no function has does the standard job.
        HeldCase{200, {key(KEY_A, 1)}, {key(KEY_A, 0)}}));

struct ActionCase {
    uint8_t type;
    std::string asked;
};

void PrintTo(const ActionCase& c, std::ostream* out) {
    *out << "type " << int(c.type);
}

class ActionFunctionTest : public RemapEngineTest,
                           public ::testing::WithParamInterface<ActionCase> {};

TEST_P(ActionFunctionTest, AsksOncePerPressAndSendsNothing) {
    function(kPositionA).assignType = GetParam().type;
    std::strcpy(function(kPositionA).programPath, "/opt/game/run");
    take();
    engine.key(KEY_A, 1, {});
    engine.key(KEY_A, 2, {});
    engine.key(KEY_A, 0, {});
    EXPECT_EQ(actions.asked, std::vector<std::string>{GetParam().asked});
    EXPECT_TRUE(output.sent.empty());
}

INSTANTIATE_TEST_SUITE_P(Types, ActionFunctionTest,
                         ::testing::Values(ActionCase{64, "profile 0"}, ActionCase{68, "profile 4"},
                                           ActionCase{69, "brightness 1"},
                                           ActionCase{70, "brightness -1"},
                                           ActionCase{71, "next effect"},
                                           ActionCase{kAssignLaunch, "launch /opt/game/run"}));

TEST_F(RemapEngineTest, RemappedStandardCodeTakesEffect) {
    profile->standardkey[kPositionA] = 5; // B
    take();
    tap(KEY_A);
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(KEY_B, 1), key(KEY_B, 0)}));
}

TEST_F(RemapEngineTest, ShortcutPressesInOrderAndReleasesInReverse) {
    MacroKeyInfo& f = function(kPositionA);
    f.assignType = kAssignShortcut;
    f.eventCount = 1;
    f.events[0] = {6, 0b01010, 0}; // C with Ctrl and Alt
    take();
    tap(KEY_A);
    EXPECT_EQ(output.take(),
              (std::vector<Sent>{key(KEY_LEFTCTRL, 1), key(KEY_LEFTALT, 1), key(KEY_C, 1),
                                 key(KEY_C, 0), key(KEY_LEFTALT, 0), key(KEY_LEFTCTRL, 0)}));

    f.events[0].action = 1; // the key alone, whatever else is set
    take();
    tap(KEY_A);
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(KEY_C, 1), key(KEY_C, 0)}));
}

TEST_F(RemapEngineTest, ModifiersHeldOnTheKeyboardSurviveShortcutsAndPassThrough) {
    MacroKeyInfo& f = function(kPositionA);
    f.assignType = kAssignShortcut;
    f.eventCount = 1;
    f.events[0] = {6, 0b00100, 0}; // Shift+C
    take();
    engine.key(KEY_LEFTSHIFT, 1, {});
    tap(KEY_A);
    engine.key(KEY_F13, 1, {}); // no position stands for it: it passes unchanged
    engine.key(KEY_F13, 0, {});
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(KEY_LEFTSHIFT, 1), key(KEY_C, 1), key(KEY_C, 0),
                                                key(KEY_F13, 1), key(KEY_F13, 0)}));
    // The keyboard's repeat is not passed on: the output device repeats itself.
    engine.key(KEY_LEFTSHIFT, 2, {});
    engine.key(KEY_LEFTSHIFT, 0, {});
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(KEY_LEFTSHIFT, 0)}));
}

TEST_F(RemapEngineTest, KeyHeldAcrossAProfileChangeComesUpAsItWentDown) {
    engine.key(KEY_A, 1, {});
    function(kPositionA).assignType = 1; // disabled in the new profile
    function(kPositionS).assignType = 24;
    take();
    engine.key(KEY_S, 1, {});
    engine.key(KEY_A, 0, {});
    engine.key(KEY_A, 1, {});
    engine.key(KEY_A, 0, {});
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(KEY_A, 1), key(BTN_LEFT, 1), key(KEY_A, 0)}));
    engine.releaseAll();
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(BTN_LEFT, 0)}));
    engine.key(KEY_S, 0, {});
    EXPECT_TRUE(output.sent.empty());
}

TEST_F(RemapEngineTest, WindowsKeyLockSwallowsBothWindowsKeys) {
    function(kPositionS).assignType = 72;
    take();
    tap(KEY_S);
    tap(KEY_LEFTMETA);
    tap(KEY_RIGHTMETA);
    EXPECT_TRUE(engine.windowsKeysLocked());
    EXPECT_TRUE(output.take().empty());
    tap(KEY_S);
    tap(KEY_RIGHTMETA);
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(KEY_RIGHTMETA, 1), key(KEY_RIGHTMETA, 0)}));
}

TEST_F(RemapEngineTest, MacroPlaysEachEventAfterItsPauseForEachRepeat) {
    macro({{5, kKeyPress, 30}, {5, kKeyRelease, 20}, {240, kKeyPress, 0}, {240, kKeyRelease, 7}}, 0,
          2);
    const std::vector<std::pair<int, Sent>> expected = {
        {0, key(KEY_B, 1)},  {30, key(KEY_B, 0)}, {50, key(BTN_LEFT, 1)},  {50, key(BTN_LEFT, 0)},
        {57, key(KEY_B, 1)}, {87, key(KEY_B, 0)}, {107, key(BTN_LEFT, 1)}, {107, key(BTN_LEFT, 0)}};
    EXPECT_EQ(runUntil(300), expected);
    EXPECT_FALSE(engine.nextDue());
}

struct ModeCase {
    const char* name;
    int mode;
    int releaseAt;
    int secondPressAt;
    // When each pass began: one press of B per pass.
    std::vector<int> passes;
    int lastRelease; // when B last came up
};

void PrintTo(const ModeCase& c, std::ostream* out) {
    *out << c.name;
}

class MacroModeTest : public RemapEngineTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(MacroModeTest, PassesFollowTheKey) {
    releaseAt = GetParam().releaseAt;
    secondPressAt = GetParam().secondPressAt;
    // B held for 30 ms, a pass every 50 ms.
    macro({{5, kKeyPress, 30}, {5, kKeyRelease, 20}}, GetParam().mode, 2);
    std::vector<int> passes;
    int lastRelease = -1;
    for (const auto& [ms, sent] : runUntil(400)) {
        if (sent == key(KEY_B, 1))
            passes.push_back(ms);
        if (sent == key(KEY_B, 0))
            lastRelease = ms;
    }
    EXPECT_EQ(passes, GetParam().passes);
    EXPECT_EQ(lastRelease, GetParam().lastRelease);
}

INSTANTIATE_TEST_SUITE_P(Modes, MacroModeTest,
                         ::testing::Values(
                             // Once per press: a press during the playback starts nothing.
                             ModeCase{"OncePerPress", 0, 10, 40, {0, 50}, 80},
                             // While held: the pass in progress at the release plays to its end.
                             ModeCase{"WhileHeld", 1, 120, -1, {0, 50, 100}, 130},
                             ModeCase{"WhileHeldShortTap", 1, 5, -1, {0}, 30},
                             // Start and stop: the second press stops it at once, B let go of.
                             ModeCase{"StartStop", 2, 10, 120, {0, 50, 100}, 120}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RemapEngineTest, MacroStopsWithAProfileChangeLettingGoOfItsKeys) {
    macro({{5, kKeyPress, 100}, {5, kKeyRelease, 0}}, 2, 1);
    engine.key(KEY_A, 1, {});
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(KEY_B, 1)}));
    take();
    EXPECT_EQ(output.take(), (std::vector<Sent>{key(KEY_B, 0)}));
    EXPECT_FALSE(engine.nextDue());
}

TEST_F(RemapEngineTest, LoopingMacroWithoutPausesStillLeavesTime) {
    macro({{5, kKeyPress, 0}, {5, kKeyRelease, 0}}, 2, 1);
    engine.key(KEY_A, 1, {});
    ASSERT_TRUE(engine.nextDue());
    EXPECT_EQ(*engine.nextDue(), RemapEngine::TimePoint(MacroPlayback::kEmptyPassGap));
}

TEST_F(RemapEngineTest, DryRunPrintsEachKeyAndWhatItWouldSendOrDo) {
    char* text = nullptr;
    size_t size = 0;
    std::FILE* out = ::open_memstream(&text, &size);
    DryRunPrinter printer(out);
    RemapEngine dry(printer, printer);
    MacroKeyInfo& f = function(kPositionA);
    f.assignType = kAssignShortcut;
    f.eventCount = 1;
    f.events[0] = {6, 0b00010, 0}; // Ctrl+C
    function(kPositionS).assignType = 66;
    function(52).assignType = 29; // F: wheel up
    dry.setProfile(*profile);
    for (const uint16_t code : {KEY_A, KEY_S, KEY_F}) {
        dry.key(code, 1, {});
        dry.key(code, 0, {});
    }
    std::fclose(out);
    EXPECT_STREQ(text, "KEY_A down\n  sends KEY_LEFTCTRL down\n  sends KEY_C down\n"
                       "KEY_A up\n  sends KEY_C up\n  sends KEY_LEFTCTRL up\n"
                       "KEY_S down\n  switches to profile 3\nKEY_S up\n"
                       "KEY_F down\n  sends wheel up\nKEY_F up\n");
    std::free(text);
}

TEST(EscapeChordTest, BothShiftsThenEscape) {
    EscapeChord chord;
    EXPECT_FALSE(chord.update(KEY_LEFTSHIFT, 1));
    EXPECT_FALSE(chord.update(KEY_ESC, 1)); // one Shift is not enough
    EXPECT_FALSE(chord.update(KEY_ESC, 0));
    EXPECT_FALSE(chord.update(KEY_RIGHTSHIFT, 1));
    EXPECT_FALSE(chord.update(KEY_RIGHTSHIFT, 2));
    EXPECT_TRUE(chord.update(KEY_ESC, 1));
    EXPECT_FALSE(chord.update(KEY_ESC, 2));
}

TEST(LightingStepsTest, BrightnessStaysWithinItsRangeOnTheCurrentEffect) {
    auto profile = std::make_unique<ProfileRecord>();
    profile->LtSwitch = 53;
    profile->Brightness[15] = 10;
    LightingSteps::stepBrightness(*profile, 1);
    EXPECT_EQ(profile->Brightness[15], 10);
    LightingSteps::stepBrightness(*profile, -1);
    EXPECT_EQ(profile->Brightness[15], 9);
    profile->LtSwitch = 4;
    LightingSteps::stepBrightness(*profile, -1);
    EXPECT_EQ(profile->Brightness[4], 0);
}

TEST(LightingStepsTest, NextEffectFollowsTheMenu) {
    auto profile = std::make_unique<ProfileRecord>();
    for (const auto& [from, to] : {std::pair{0, 1}, {11, 51}, {12, 51}, {54, 55}, {55, 0}}) {
        profile->LtSwitch = from;
        LightingSteps::nextEffect(*profile);
        EXPECT_EQ(profile->LtSwitch, to) << "from " << from;
    }
}

TEST(InputCodeTableTest, EveryKeyOfTheKeyTableHasAnInputCodeAndComesBack) {
    for (const KeyTableRow& row : KeyTable::rows()) {
        const auto code = InputCodeTable::inputCode(static_cast<uint8_t>(row.keyCode));
        ASSERT_TRUE(code) << row.keyCode;
        if (row.keyCode < 240) {
            EXPECT_EQ(InputCodeTable::keyCode(*code), row.keyCode);
        }
    }
    EXPECT_EQ(InputCodeTable::inputCode(88), KEY_KPENTER);
    EXPECT_EQ(InputCodeTable::inputCode(100), KEY_102ND);
    EXPECT_EQ(InputCodeTable::inputCode(244), BTN_SIDE);
    EXPECT_FALSE(InputCodeTable::inputCode(50));
    EXPECT_FALSE(InputCodeTable::keyCode(BTN_LEFT));
}

} // namespace
} // namespace vantrel::test
