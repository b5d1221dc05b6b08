#include "monitor/engine/LightingSteps.h"

#include "lighting/EffectTable.h"

#include <algorithm>

namespace vantrel {

void LightingSteps::stepBrightness(ProfileRecord& profile, int delta) {
    int32_t& level = profile.Brightness[EffectTable::pageOf(profile.LtSwitch).brightnessEntry];
    level = std::clamp(level + delta, 0, kBrightest);
}

int32_t LightingSteps::brightness(const ProfileRecord& profile) {
    return profile.Brightness[EffectTable::pageOf(profile.LtSwitch).brightnessEntry];
}

void LightingSteps::nextEffect(ProfileRecord& profile) {
    const auto& pages = EffectTable::pages();
    const int current = EffectTable::pageIndex(profile.LtSwitch);
    for (int step = 1; step <= EffectTable::kPageCount; ++step) {
        const EffectPageEntry& page = pages[(current + step) % EffectTable::kPageCount];
        if (page.offered) {
            profile.LtSwitch = page.effect;
            return;
        }
    }
}

} // namespace vantrel
