#pragma once

#include "settings/ProfileRecord.h"
#include "settings/SharedBlock.h"

#include <array>
#include <cstdint>

namespace vantrel {

class LanguageStrings;

// Keyboard usage sent by each key position in its standard function; 0 marks a
// position without a key, 255 at position 83 is a marker.
extern const std::array<uint8_t, kKeyPositions> kDefaultStandardKeys;

inline constexpr int32_t kRed = 0x0000FF;
inline constexpr int32_t kGreen = 0x00FF00;
inline constexpr int32_t kBlue = 0xFF0000;
inline constexpr int32_t kYellow = 0x00FFFF;
inline constexpr int32_t kMagenta = 0xFF00FF;
inline constexpr int32_t kCyan = 0xFFFF00;
inline constexpr int32_t kWhite = 0xFFFFFF;

// Factory values for profile n (0..4). GlobalColor and reserved keep their values.
void resetProfile(ProfileRecord& profile, int n, const LanguageStrings& strings);
// CurrentProfile 0 and every profile reset; the change flags are left alone.
void resetAllProfiles(SharedBlock& settings, const LanguageStrings& strings);

} // namespace vantrel
