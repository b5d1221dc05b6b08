#pragma once

#include "settings/ProfileRecord.h"

#include <bit>
#include <cstddef>
#include <cstdint>

namespace vantrel {

// The records are copied as raw bytes into little-endian files and memory.
static_assert(std::endian::native == std::endian::little);

inline constexpr int kProfileCount = 5;

// All five profiles with the current profile number and the change flags. The
// monitor process shares exactly this layout; the program also keeps its two
// settings copies (edited and applied) in it.
struct SharedBlock {
    int32_t CurrentProfile;
    ProfileRecord profiles[kProfileCount];
    int32_t keyChanged[kProfileCount][kKeyPositions];
    int32_t flagsA[kProfileCount];
    int32_t flagB;
    int32_t flagsC[kProfileCount];
    int32_t flagsD[kProfileCount];
    int32_t flagsE[kProfileCount];
    int32_t spare1;
    int32_t flagsF[kProfileCount];
    int32_t spare2;
    int32_t flagsG[kProfileCount];
};

static_assert(sizeof(SharedBlock) == 340436);
static_assert(offsetof(SharedBlock, CurrentProfile) == 0);
static_assert(offsetof(SharedBlock, profiles) == 4);
static_assert(offsetof(SharedBlock, keyChanged) == 337744);
static_assert(offsetof(SharedBlock, flagsA) == 340304);
static_assert(offsetof(SharedBlock, flagB) == 340324);
static_assert(offsetof(SharedBlock, flagsC) == 340328);
static_assert(offsetof(SharedBlock, flagsD) == 340348);
static_assert(offsetof(SharedBlock, flagsE) == 340368);
static_assert(offsetof(SharedBlock, spare1) == 340388);
static_assert(offsetof(SharedBlock, flagsF) == 340392);
static_assert(offsetof(SharedBlock, spare2) == 340412);
static_assert(offsetof(SharedBlock, flagsG) == 340416);

// A profile number read from a file or the monitor may be anything; every
// value outside 0..4 is taken as the first profile.
inline int32_t profileIndexInRange(int32_t value) {
    return value >= 0 && value < kProfileCount ? value : 0;
}

} // namespace vantrel
