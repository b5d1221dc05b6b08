#include "monitor/engine/RemapEngine.h"

#include "monitor/engine/InputCodeTable.h"
#include "monitor/engine/OutputDevice.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"

#include <algorithm>

namespace vantrel {

namespace {

// Functions that hold one output key or button for as long as the key is held.
struct HeldFunction {
    uint8_t type;
    uint16_t code;
};
constexpr HeldFunction kHeldFunctions[] = {
    // Mouse: left, right, middle, back, forward.
    {24, BTN_LEFT},
    {25, BTN_RIGHT},
    {26, BTN_MIDDLE},
    {27, BTN_SIDE},
    {28, BTN_EXTRA},
    // Multimedia: media player, play/pause, stop, previous, next, volume down, mute, up.
    {32, KEY_MEDIA},
    {33, KEY_PLAYPAUSE},
    {34, KEY_STOPCD},
    {35, KEY_PREVIOUSSONG},
    {36, KEY_NEXTSONG},
    {37, KEY_VOLUMEDOWN},
    {38, KEY_MUTE},
    {39, KEY_VOLUMEUP},
    // The desktop's own keys: file manager, favourites, web browser, mail, my
    // computer, search, web forward, refresh, home, back, calculator.
    {40, KEY_FILE},
    {41, KEY_BOOKMARKS},
    {49, KEY_WWW},
    {50, KEY_MAIL},
    {51, KEY_COMPUTER},
    {52, KEY_SEARCH},
    {53, KEY_FORWARD},
    {54, KEY_REFRESH},
    {55, KEY_HOMEPAGE},
    {56, KEY_BACK},
    {57, KEY_CALC},
    // Mouse buttons a key can carry though the menu does not offer them:
    // left, right, middle, button 4 (back), button 5 (forward).
    {241, BTN_LEFT},
    {242, BTN_RIGHT},
    {243, BTN_MIDDLE},
    {244, BTN_SIDE},
    {245, BTN_EXTRA},
};

struct WheelFunction {
    uint8_t type;
    int8_t direction;
};
constexpr WheelFunction kWheelFunctions[] = {{29, 1}, {30, -1}, {8, 1}, {5, -1}};

constexpr uint8_t kDisabled = 1;
constexpr uint8_t kDoubleClick = 31;
constexpr uint8_t kFirstProfileKey = 64;
constexpr uint8_t kLastProfileKey = 68;
constexpr uint8_t kBrightnessUp = 69;
constexpr uint8_t kBrightnessDown = 70;
constexpr uint8_t kNextEffect = 71;
constexpr uint8_t kWindowsKeyLock = 72;

// The shortcut's modifier bits 1..4 and the keys they press, in that order.
constexpr uint16_t kShortcutModifiers[] = {KEY_LEFTCTRL, KEY_LEFTSHIFT, KEY_LEFTALT, KEY_LEFTMETA};

const std::array<int8_t, KEY_CNT>& positions() {
    static const std::array<int8_t, KEY_CNT> table = [] {
        std::array<int8_t, KEY_CNT> t;
        t.fill(-1);
        for (int k = 0; k < kKeyPositions; ++k) {
            if (const auto code = InputCodeTable::inputCode(kDefaultStandardKeys[k]))
                t[*code] = static_cast<int8_t>(k);
        }
        return t;
    }();
    return table;
}

} // namespace

int RemapEngine::position(uint16_t code) {
    return code < KEY_CNT ? positions()[code] : -1;
}

RemapEngine::RemapEngine(OutputDevice& device, Actions& actions)
    : m_device(device), m_actions(actions), m_keys(device) {
    std::copy(kDefaultStandardKeys.begin(), kDefaultStandardKeys.end(), m_standardKeys.begin());
    for (int k = 0; k < kKeyPositions; ++k)
        m_functions[k].assignType = kAssignStandard;
}

void RemapEngine::setProfile(const ProfileRecord& profile) {
    for (MacroPlayback& playback : m_playbacks)
        playback.stop(m_keys);
    m_playbacks.clear();
    std::copy(std::begin(profile.MacroKeyInfo), std::end(profile.MacroKeyInfo),
              m_functions.begin());
    std::copy(std::begin(profile.standardkey), std::end(profile.standardkey),
              m_standardKeys.begin());
}

MacroPlayback* RemapEngine::playing(int position) {
    const auto it = std::find_if(m_playbacks.begin(), m_playbacks.end(),
                                 [&](const MacroPlayback& p) { return p.position() == position; });
    return it == m_playbacks.end() ? nullptr : &*it;
}

void RemapEngine::key(uint16_t code, int32_t value, TimePoint now) {
    if (code >= KEY_CNT)
        return;
    m_actions.heard(code, value);
    Held& held = m_held[code];
    if (value == 1) {
        // The same key of a second keyboard while the first holds it.
        if (held.kind != Held::Kind::None)
            return;
        const bool windowsKey = code == KEY_LEFTMETA || code == KEY_RIGHTMETA;
        if (m_windowsLocked && windowsKey) {
            held = {Held::Kind::Nothing};
            return;
        }
        held = press(positions()[code], code, now);
    } else if (value == 0) {
        const Held was = held;
        held = {};
        if (was.kind == Held::Kind::Keys) {
            for (int i = was.count - 1; i >= 0; --i)
                m_keys.release(was.codes[i]);
        } else if (was.kind == Held::Kind::Macro) {
            if (MacroPlayback* playback = playing(positions()[code]))
                playback->keyReleased();
        }
    } else if (value == 2 && held.kind == Held::Kind::Wheel) {
        // Held keys repeat on the output device by themselves; a held wheel
        // key turns the wheel at each repeat of the keyboard.
        scroll(held.wheel);
    }
}

RemapEngine::Held RemapEngine::press(int position, uint16_t code, TimePoint now) {
    if (position < 0)
        return pressKey(code);
    const MacroKeyInfo& function = m_functions[position];
    const uint8_t type = function.assignType;
    for (const HeldFunction& f : kHeldFunctions) {
        if (f.type == type)
            return pressKey(f.code);
    }
    for (const WheelFunction& f : kWheelFunctions) {
        if (f.type == type)
            return scroll(f.direction);
    }
    const Held nothing{Held::Kind::Nothing};
    switch (type) {
    case kAssignShortcut:
        return pressShortcut(position);
    case kAssignMacro:
        return pressMacro(position, now);
    case kAssignLaunch:
        m_actions.launch(fieldText(function.programPath));
        return nothing;
    case kDisabled:
        return nothing;
    case kDoubleClick:
        doubleClick();
        return nothing;
    case kBrightnessUp:
    case kBrightnessDown:
        m_actions.stepBrightness(type == kBrightnessUp ? 1 : -1);
        return nothing;
    case kNextEffect:
        m_actions.nextEffect();
        return nothing;
    case kWindowsKeyLock:
        m_windowsLocked = !m_windowsLocked;
        return nothing;
    default:
        break;
    }
    if (type >= kFirstProfileKey && type <= kLastProfileKey) {
        m_actions.switchProfile(type - kFirstProfileKey);
        return nothing;
    }
    // The standard function, and what to do with a type no function has.
    return pressStandard(position);
}

RemapEngine::Held RemapEngine::pressKey(uint16_t code) {
    m_keys.press(code);
    return {Held::Kind::Keys, 1, {code}};
}

RemapEngine::Held RemapEngine::pressStandard(int position) {
    if (const auto code = InputCodeTable::inputCode(m_standardKeys[position]))
        return pressKey(*code);
    return {Held::Kind::Nothing};
}

RemapEngine::Held RemapEngine::pressShortcut(int position) {
    const MacroKeyInfo& function = m_functions[position];
    const auto key = InputCodeTable::inputCode(function.events[0].keyCode);
    // A shortcut without a key does the standard job, as the program shows it.
    if (function.eventCount == 0 || !key)
        return pressStandard(position);
    Held held{Held::Kind::Keys};
    // Modifier byte 1 means the key alone.
    const uint8_t bits = function.events[0].action == 1 ? 0 : function.events[0].action;
    for (int bit = 1; bit <= 4; ++bit) {
        if (bits & (1 << bit)) {
            m_keys.press(kShortcutModifiers[bit - 1]);
            held.codes[held.count++] = kShortcutModifiers[bit - 1];
        }
    }
    m_keys.press(*key);
    held.codes[held.count++] = *key;
    return held;
}

RemapEngine::Held RemapEngine::pressMacro(int position, TimePoint now) {
    const Held held{Held::Kind::Macro};
    if (MacroPlayback* playback = playing(position)) {
        // A second press never starts a second playback; it ends a start-stop one.
        if (playback->mode() == MacroPlayback::Mode::StartStop) {
            playback->stop(m_keys);
            std::erase_if(m_playbacks, [](const MacroPlayback& p) { return p.finished(); });
        }
        return held;
    }
    m_playbacks.emplace_back(position, m_functions[position], now);
    advance(now);
    return held;
}

RemapEngine::Held RemapEngine::scroll(int8_t direction) {
    m_device.send(EV_REL, REL_WHEEL, direction);
    m_device.send(EV_REL, REL_WHEEL_HI_RES, direction * 120);
    m_device.sync();
    return {Held::Kind::Wheel, 0, {}, direction};
}

void RemapEngine::doubleClick() {
    for (int click = 0; click < 2; ++click) {
        m_keys.press(BTN_LEFT);
        m_keys.release(BTN_LEFT);
    }
}

void RemapEngine::advance(TimePoint now) {
    for (MacroPlayback& playback : m_playbacks)
        playback.advance(now, m_keys);
    std::erase_if(m_playbacks, [](const MacroPlayback& p) { return p.finished(); });
}

std::optional<RemapEngine::TimePoint> RemapEngine::nextDue() const {
    std::optional<TimePoint> due;
    for (const MacroPlayback& playback : m_playbacks) {
        if (!due || playback.due() < *due)
            due = playback.due();
    }
    return due;
}

void RemapEngine::releaseAll() {
    for (MacroPlayback& playback : m_playbacks)
        playback.stop(m_keys);
    m_playbacks.clear();
    m_keys.releaseAll();
    m_held.fill({});
}

} // namespace vantrel
