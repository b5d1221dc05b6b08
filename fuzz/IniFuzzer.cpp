// The INI engine on any bytes: lookups must not fail, and a value written is
// the value read back, whatever the document around it holds.
#include "fuzz/FuzzFile.h"
#include "settings/IniFile.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <string_view>

using namespace vantrel;

namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kKeys = {{
    {"Setting", "CurrentProfile"},
    {"Setting", "FWVersion"},
    {"OSDSetting", "config"},
    {"Macros", "number"},
    {"Macros", "0"},
    {"SCREEN", "Normal"},
}};

void check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static fuzz::FuzzFile input;
    input.fill(data, size);
    IniFile file(input.path());

    uint8_t blob[20];
    for (const auto& [section, key] : kKeys) {
        check(file.readText(section, key, "").size() <= IniFile::kMaxValueLength);
        file.readInt(section, key, -1);
        file.readBlob(section, key, blob, sizeof blob);
    }
    for (const auto& [section, key] : kKeys) {
        file.writeInt(section, key, -12345);
        check(file.readInt(section, key, 0) == -12345);
        file.writeText(section, key, "text value");
        check(file.readText(section, key, "") == "text value");
        const uint8_t bytes[3] = {0x00, 0x7F, 0xFF};
        file.writeBlob(section, key, bytes, sizeof bytes);
        uint8_t back[3] = {};
        check(file.readBlob(section, key, back, sizeof back) &&
              std::memcmp(back, bytes, sizeof bytes) == 0);
    }
    return 0;
}
