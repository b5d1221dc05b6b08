#pragma once

#include "settings/ProfileRecord.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vantrel {

// The colours the keyboard shows: from a profile's lighting settings, a time
// and the key presses so far, the colour of each of the 128 key positions.
// The program draws it on the keyboard picture, the monitor sends it to the
// keyboards. Colours are words 0x00BBGGRR, as the profile stores them.
class EffectRenderer final {
public:
    using Frame = std::array<uint32_t, kKeyPositions>;

    // Takes the lighting fields of the profile (effect, brightness, speed,
    // direction, colours, DIY colours); key presses are kept.
    void setProfile(const ProfileRecord& profile);
    // A key position went down at nowMs; effects that react to keys start there.
    void keyPressed(int position, int64_t nowMs);
    // The frame at nowMs (milliseconds on any steady clock).
    Frame render(int64_t nowMs);
    // True when frames change with time (every effect but the static one and
    // the DIY effects, and those while a key press still shows).
    bool moving(int64_t nowMs) const;

    // Brightness b of 0..10 applied to one channel value v.
    static constexpr uint32_t scaleChannel(uint32_t v, int b) { return (v * uint32_t(b) + 5) / 10; }
    static uint32_t scale(uint32_t colour, int brightness);

private:
    struct Press {
        int position;
        int64_t atMs;
        int number; // counts every press, so each can take its own hue
    };
    // The lighting fields of the profile; the rest of a profile is not needed.
    struct Lighting {
        int32_t effect = 0;
        int32_t brightness[kBrightnessEntries]{};
        int32_t pulsation[kEffectSlots]{};
        int32_t colour[kEffectSlots][kColourChoices]{};
        int32_t direction[2]{};
        int32_t chosen[kEffectSlots]{};
        int32_t custom[kDiyEffects][kKeyPositions]{};
        int32_t diyOption[kDiyEffects]{};
        int32_t diyColour[kDiyEffects][2]{};
    };

    // How long a key press shows in the effects that react to keys, in ms.
    int64_t pressLifetimeMs() const;
    void forgetOldPresses(int64_t nowMs);

    Lighting m_lighting;
    std::vector<Press> m_presses;
    int m_pressCount = 0;
};

} // namespace vantrel
