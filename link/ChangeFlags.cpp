#include "link/ChangeFlags.h"

#include <algorithm>
#include <iterator>

namespace vantrel {

namespace {

bool validProfile(int p) {
    return p >= 0 && p < kProfileCount;
}

void fillKeys(SharedBlock& s, int p, int32_t value) {
    std::fill(std::begin(s.keyChanged[p]), std::end(s.keyChanged[p]), value);
}

void fillAll(SharedBlock& s, int32_t value) {
    for (int p = 0; p < kProfileCount; ++p) {
        fillKeys(s, p, value);
        s.flagsA[p] = value;
        s.flagsC[p] = value;
        s.flagsD[p] = value;
        s.flagsF[p] = value;
        s.flagsG[p] = value;
    }
    s.flagB = value;
}

} // namespace

void ChangeFlags::clearChangeFlags(SharedBlock& settings) {
    fillAll(settings, 0);
    std::fill(std::begin(settings.flagsE), std::end(settings.flagsE), 0);
}

void ChangeFlags::markAllChanged(SharedBlock& settings) {
    fillAll(settings, 1);
}

void ChangeFlags::markProfileChanged(SharedBlock& settings, int profile) {
    if (!validProfile(profile))
        return;
    markProfileLoaded(settings, profile);
    settings.flagsF[profile] = 1;
    settings.flagsG[profile] = 1;
    settings.flagB = 1;
}

void ChangeFlags::markProfileLoaded(SharedBlock& settings, int profile) {
    if (!validProfile(profile))
        return;
    fillKeys(settings, profile, 1);
    settings.flagsA[profile] = 1;
    settings.flagsC[profile] = 1;
    settings.flagsD[profile] = 1;
}

void ChangeFlags::markKeyChanged(SharedBlock& settings, int profile, int key) {
    if (validProfile(profile) && key >= 0 && key < kKeyPositions)
        settings.keyChanged[profile][key] = 1;
}

} // namespace vantrel
