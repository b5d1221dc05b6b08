#pragma once

#include "settings/ProfileRecord.h"

namespace vantrel {

// What the lighting keys change in the profile in use.
class LightingSteps final {
public:
    static constexpr int32_t kBrightest = 10;

    // One step brighter (+1) or darker (-1) on the current effect, within 0..10.
    static void stepBrightness(ProfileRecord& profile, int delta);
    // The next effect the effect menu offers, after the last one the first.
    static void nextEffect(ProfileRecord& profile);
    // The current effect's brightness, 0..10.
    static int32_t brightness(const ProfileRecord& profile);
};

} // namespace vantrel
