// A profile file of any content read into a profile record: the record that
// comes out is safe to use.
#include "fuzz/FuzzFile.h"
#include "settings/IniFile.h"
#include "settings/ProfileFile.h"
#include "settings/ProfileRecord.h"

#include <cstdlib>
#include <cstring>
#include <memory>

using namespace vantrel;

namespace {

template <size_t N> bool terminated(const char (&field)[N]) {
    return std::memchr(field, 0, N) != nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::FuzzFile input;
    input.fill(data, size);
    auto profile = std::make_unique<ProfileRecord>();
    std::memset(profile.get(), 0xA5, sizeof(ProfileRecord));
    readProfile(input.path(), *profile);

    bool safe = terminated(profile->ProFileName) && terminated(profile->GameFile);
    for (const MacroKeyInfo& key : profile->MacroKeyInfo)
        safe = safe && terminated(key.macroName) && terminated(key.programPath) &&
               key.eventCount <= kMacroEventSlots;
    if (!safe)
        std::abort();
    return 0;
}
