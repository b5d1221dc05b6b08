#pragma once

#include "settings/MacroKeyInfo.h"

#include <cstddef>
#include <cstdint>

namespace vantrel {

inline constexpr int kKeyPositions = 128;
inline constexpr int kEffectSlots = 12;
inline constexpr int kColourChoices = 7;
inline constexpr int kBrightnessEntries = 18;
inline constexpr int kDiyEffects = 5;
// The DIY effects are the LtSwitch values 51..55.
inline constexpr int kFirstDiyEffect = 51;

// One complete set of keyboard settings. Fields carry their INI key names; the
// layout is shared with the monitor process and the profile files.
struct ProfileRecord {
    char ProFileName[250];
    char GameFile[502];
    int32_t LtPulsation[kEffectSlots];
    int32_t Brightness[kBrightnessEntries];
    int32_t Color[kEffectSlots][kColourChoices];
    int32_t Direction[2];
    int32_t LtColor[kEffectSlots];
    int32_t LtSwitch;
    int32_t CustomColor[kDiyEffects][kKeyPositions];
    int32_t GlobalColor[5];
    int32_t DIYColorOption[kDiyEffects];
    int32_t DIYColor[kDiyEffects][2];
    int32_t LtEffectType;
    int32_t reserved;
    int32_t LtFlag;
    int32_t LtControl;
    int32_t PollingRate;
    int32_t ReportDelay;
    uint8_t standardkey[kKeyPositions];
    ::vantrel::MacroKeyInfo MacroKeyInfo[kKeyPositions];
};

static_assert(sizeof(ProfileRecord) == 67548);
static_assert(offsetof(ProfileRecord, ProFileName) == 0);
static_assert(offsetof(ProfileRecord, GameFile) == 250);
static_assert(offsetof(ProfileRecord, LtPulsation) == 752);
static_assert(offsetof(ProfileRecord, Brightness) == 800);
static_assert(offsetof(ProfileRecord, Color) == 872);
static_assert(offsetof(ProfileRecord, Direction) == 1208);
static_assert(offsetof(ProfileRecord, LtColor) == 1216);
static_assert(offsetof(ProfileRecord, LtSwitch) == 1264);
static_assert(offsetof(ProfileRecord, CustomColor) == 1268);
static_assert(offsetof(ProfileRecord, GlobalColor) == 3828);
static_assert(offsetof(ProfileRecord, DIYColorOption) == 3848);
static_assert(offsetof(ProfileRecord, DIYColor) == 3868);
static_assert(offsetof(ProfileRecord, LtEffectType) == 3908);
static_assert(offsetof(ProfileRecord, reserved) == 3912);
static_assert(offsetof(ProfileRecord, LtFlag) == 3916);
static_assert(offsetof(ProfileRecord, LtControl) == 3920);
static_assert(offsetof(ProfileRecord, PollingRate) == 3924);
static_assert(offsetof(ProfileRecord, ReportDelay) == 3928);
static_assert(offsetof(ProfileRecord, standardkey) == 3932);
static_assert(offsetof(ProfileRecord, MacroKeyInfo) == 4060);
static_assert(offsetof(ProfileRecord, MacroKeyInfo) + kKeyPositions * sizeof(MacroKeyInfo) ==
              sizeof(ProfileRecord));

} // namespace vantrel
