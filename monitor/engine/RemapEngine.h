#pragma once

#include "monitor/engine/MacroPlayback.h"
#include "monitor/engine/OutputKeys.h"
#include "settings/ProfileRecord.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel {

class OutputDevice;

// What the current profile makes of the physical keyboard: key events of the
// keyboard in (Linux input codes), events for the virtual keyboard and mouse
// and actions out. It knows no device and no clock of its own.
class RemapEngine final {
public:
    using TimePoint = MacroPlayback::TimePoint;

    // What a key may ask of the world beyond the output device.
    class Actions {
    public:
        virtual ~Actions() = default;
        virtual void launch(const std::string& path) = 0;
        virtual void switchProfile(int profile) = 0;
        // +1 or -1 on the current effect's brightness.
        virtual void stepBrightness(int delta) = 0;
        virtual void nextEffect() = 0;
        // Each physical key event the engine takes, before what it makes
        // happen; for a dry run to print and the lighting to react.
        virtual void heard(uint16_t /*code*/, int32_t /*value*/) {}
    };

    RemapEngine(OutputDevice& device, Actions& actions);

    // Which key position a keyboard's key is: the position whose factory
    // usage it sends; -1 for keys no position stands for.
    static int position(uint16_t code);

    // Takes the key functions of the profile now in use. Macros playing stop;
    // keys held down keep what they pressed until they come up.
    void setProfile(const ProfileRecord& profile);

    // One key event of a physical keyboard: value 1 press, 0 release, 2 repeat.
    void key(uint16_t code, int32_t value, TimePoint now);
    // Plays the macro events that are due.
    void advance(TimePoint now);
    // When advance has something to play next.
    std::optional<TimePoint> nextDue() const;
    // Every output key up and every macro stopped: before the monitor lets go
    // of the keyboard.
    void releaseAll();

    bool windowsKeysLocked() const { return m_windowsLocked; }

private:
    // What a physical key did when it went down, so that it is undone when it
    // comes up, whatever the profile says by then.
    struct Held {
        enum class Kind : uint8_t { None, Keys, Macro, Wheel, Nothing };
        Kind kind = Kind::None;
        uint8_t count = 0;
        std::array<uint16_t, 5> codes{};
        int8_t wheel = 0;
    };

    Held press(int position, uint16_t code, TimePoint now);
    Held pressKey(uint16_t code);
    Held pressStandard(int position);
    Held pressShortcut(int position);
    Held pressMacro(int position, TimePoint now);
    Held scroll(int8_t direction);
    void doubleClick();
    MacroPlayback* playing(int position);

    OutputDevice& m_device;
    Actions& m_actions;
    OutputKeys m_keys;
    std::array<MacroKeyInfo, kKeyPositions> m_functions{};
    std::array<uint8_t, kKeyPositions> m_standardKeys{};
    std::array<Held, KEY_CNT> m_held{};
    std::vector<MacroPlayback> m_playbacks;
    bool m_windowsLocked = false;
};

} // namespace vantrel
