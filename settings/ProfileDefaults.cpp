#include "settings/ProfileDefaults.h"

#include "settings/LanguageStrings.h"
#include "settings/TextField.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace vantrel {

const std::array<uint8_t, kKeyPositions> kDefaultStandardKeys = {
    41,  58,  59,  60,  61, 62, 63, 64, 65,  66, 67,  68,  69, 70, 71, 72, // 0..15
    53,  30,  31,  32,  33, 34, 35, 36, 37,  38, 39,  45,  46, 42, 73, 74, // 16..31
    43,  20,  26,  8,   21, 23, 28, 24, 12,  18, 19,  47,  48, 40, 76, 77, // 32..47
    57,  4,   22,  7,   9,  10, 11, 13, 14,  15, 51,  52,  49, 86, 75, 78, // 48..63
    225, 29,  27,  6,   25, 5,  17, 16, 54,  55, 56,  229, 0,  87, 82, 79, // 64..79
    224, 227, 226, 255, 0,  44, 0,  0,  230, 0,  101, 228, 0,  0,  80, 81, // 80..95
    83,  95,  92,  89,  98, 84, 96, 93, 90,  85, 97,  94,  91, 99, 0,  88, // 96..111
    0,   0,   0,   0,   0,  0,  0,  0,  0,   0,  0,   0,   0,  0,  0,  0,  // 112..127
};

void resetProfile(ProfileRecord& profile, int n, const LanguageStrings& strings) {
    const std::string name = strings.text(kStringProfileName) + " #" + std::to_string(n + 1);
    copyToField(profile.ProFileName, name);
    copyToField(profile.GameFile, "");

    profile.LtEffectType = 2;
    profile.PollingRate = 2;
    profile.LtSwitch = 6;
    profile.LtFlag = 1;
    profile.LtControl = 4;
    profile.ReportDelay = 8;

    static constexpr int32_t kSlotColours[kColourChoices] = {kRed,     kGreen, kBlue, kYellow,
                                                             kMagenta, kCyan,  kWhite};
    for (int s = 0; s < kEffectSlots; ++s) {
        profile.LtColor[s] = 0;
        std::copy(std::begin(kSlotColours), std::end(kSlotColours), profile.Color[s]);
    }

    std::fill(std::begin(profile.Brightness), std::end(profile.Brightness), 10);
    std::fill(std::begin(profile.LtPulsation), std::end(profile.LtPulsation), 4);
    std::fill(std::begin(profile.Direction), std::end(profile.Direction), 0);

    for (int d = 0; d < kDiyEffects; ++d) {
        profile.DIYColorOption[d] = 0;
        profile.DIYColor[d][0] = kRed;
        profile.DIYColor[d][1] = kRed;
    }

    std::memset(profile.CustomColor, 0, sizeof profile.CustomColor);
    std::copy(kDefaultStandardKeys.begin(), kDefaultStandardKeys.end(), profile.standardkey);

    std::memset(profile.MacroKeyInfo, 0, sizeof profile.MacroKeyInfo);
    for (int k = 0; k < kKeyPositions; ++k) {
        profile.MacroKeyInfo[k].keyIndex = static_cast<uint8_t>(k);
        profile.MacroKeyInfo[k].assignType = kAssignStandard;
    }
}

void resetAllProfiles(SharedBlock& settings, const LanguageStrings& strings) {
    settings.CurrentProfile = 0;
    for (int n = 0; n < kProfileCount; ++n)
        resetProfile(settings.profiles[n], n, strings);
}

} // namespace vantrel
