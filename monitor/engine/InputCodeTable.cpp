#include "monitor/engine/InputCodeTable.h"

#include <array>
#include <linux/input-event-codes.h>
#include <span>

namespace vantrel {

namespace {

// Input code by stored key code; 0 where the code has no key. Codes 4..101 and
// 224..231 follow the kernel's own mapping of keyboard usages; 112..129 are the
// browser and media keys in their key table order.
constexpr std::array<uint16_t, 256> makeInputCodes() {
    std::array<uint16_t, 256> t{};
    const auto place = [&t](int first, std::span<const uint16_t> codes) {
        for (size_t i = 0; i < codes.size(); ++i)
            t[first + i] = codes[i];
    };
    constexpr uint16_t fromFour[] = {
        KEY_A,          KEY_B,          KEY_C,          KEY_D,          KEY_E,       KEY_F,
        KEY_G,          KEY_H,          KEY_I,          KEY_J,          KEY_K,       KEY_L,
        KEY_M,          KEY_N,          KEY_O,          KEY_P,          KEY_Q,       KEY_R,
        KEY_S,          KEY_T,          KEY_U,          KEY_V,          KEY_W,       KEY_X,
        KEY_Y,          KEY_Z,          KEY_1,          KEY_2,          KEY_3,       KEY_4,
        KEY_5,          KEY_6,          KEY_7,          KEY_8,          KEY_9,       KEY_0,
        KEY_ENTER,      KEY_ESC,        KEY_BACKSPACE,  KEY_TAB,        KEY_SPACE,   KEY_MINUS,
        KEY_EQUAL,      KEY_LEFTBRACE,  KEY_RIGHTBRACE, KEY_BACKSLASH,  0,           KEY_SEMICOLON,
        KEY_APOSTROPHE, KEY_GRAVE,      KEY_COMMA,      KEY_DOT,        KEY_SLASH,   KEY_CAPSLOCK,
        KEY_F1,         KEY_F2,         KEY_F3,         KEY_F4,         KEY_F5,      KEY_F6,
        KEY_F7,         KEY_F8,         KEY_F9,         KEY_F10,        KEY_F11,     KEY_F12,
        KEY_SYSRQ,      KEY_SCROLLLOCK, KEY_PAUSE,      KEY_INSERT,     KEY_HOME,    KEY_PAGEUP,
        KEY_DELETE,     KEY_END,        KEY_PAGEDOWN,   KEY_RIGHT,      KEY_LEFT,    KEY_DOWN,
        KEY_UP,         KEY_NUMLOCK,    KEY_KPSLASH,    KEY_KPASTERISK, KEY_KPMINUS, KEY_KPPLUS,
        KEY_KPENTER,    KEY_KP1,        KEY_KP2,        KEY_KP3,        KEY_KP4,     KEY_KP5,
        KEY_KP6,        KEY_KP7,        KEY_KP8,        KEY_KP9,        KEY_KP0,     KEY_KPDOT,
        KEY_102ND,      KEY_COMPOSE,
    };
    place(4, fromFour);
    constexpr uint16_t platformKeys[] = {
        KEY_BACK,     KEY_FORWARD,   KEY_REFRESH,    KEY_STOP,     KEY_SEARCH,   KEY_BOOKMARKS,
        KEY_HOMEPAGE, KEY_MUTE,      KEY_VOLUMEDOWN, KEY_VOLUMEUP, KEY_NEXTSONG, KEY_PREVIOUSSONG,
        KEY_STOPCD,   KEY_PLAYPAUSE, KEY_MAIL,       KEY_MEDIA,    KEY_COMPUTER, KEY_CALC,
    };
    place(112, platformKeys);
    constexpr uint16_t modifiers[] = {KEY_LEFTCTRL,  KEY_LEFTSHIFT,  KEY_LEFTALT,  KEY_LEFTMETA,
                                      KEY_RIGHTCTRL, KEY_RIGHTSHIFT, KEY_RIGHTALT, KEY_RIGHTMETA};
    place(224, modifiers);
    // Mouse buttons: left, right, middle, button 5 (forward), button 4 (back).
    constexpr uint16_t buttons[] = {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE, BTN_EXTRA, BTN_SIDE};
    place(240, buttons);
    return t;
}

constexpr std::array<uint16_t, 256> kInputCodes = makeInputCodes();

// The reverse, for keyboard keys only (mouse buttons come from no keyboard).
constexpr std::array<uint8_t, KEY_CNT> makeKeyCodes() {
    std::array<uint8_t, KEY_CNT> t{};
    for (int code = 239; code > 0; --code) {
        if (kInputCodes[code])
            t[kInputCodes[code]] = static_cast<uint8_t>(code);
    }
    return t;
}

constexpr std::array<uint8_t, KEY_CNT> kKeyCodes = makeKeyCodes();

} // namespace

std::optional<uint16_t> InputCodeTable::inputCode(uint8_t keyCode) {
    if (!kInputCodes[keyCode])
        return std::nullopt;
    return kInputCodes[keyCode];
}

std::optional<uint8_t> InputCodeTable::keyCode(uint16_t inputCode) {
    if (inputCode >= kKeyCodes.size() || !kKeyCodes[inputCode])
        return std::nullopt;
    return kKeyCodes[inputCode];
}

} // namespace vantrel
