#include "settings/ProfileFile.h"

#include "settings/FileLock.h"
#include "settings/IniFile.h"
#include "settings/RecordSafety.h"
#include "settings/TextField.h"

#include <array>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

namespace {

constexpr std::string_view kSection = "Setting";

struct IntKey {
    std::string_view name;
    int32_t ProfileRecord::*field;
};
constexpr std::array<IntKey, 6> kIntKeys = {{
    {"LtSwitch", &ProfileRecord::LtSwitch},
    {"LtEffectType", &ProfileRecord::LtEffectType},
    {"LtFlag", &ProfileRecord::LtFlag},
    {"LtControl", &ProfileRecord::LtControl},
    {"PollingRate", &ProfileRecord::PollingRate},
    {"ReportDelay", &ProfileRecord::ReportDelay},
}};

struct BlobKey {
    std::string_view name;
    size_t offset;
    size_t size;
};
#define VANTREL_BLOB(field)                                                                        \
    BlobKey {                                                                                      \
#field, offsetof(ProfileRecord, field), sizeof(ProfileRecord::field)                       \
    }
constexpr std::array<BlobKey, 10> kBlobKeys = {{
    VANTREL_BLOB(standardkey),
    VANTREL_BLOB(LtPulsation),
    VANTREL_BLOB(LtColor),
    VANTREL_BLOB(Brightness),
    VANTREL_BLOB(Direction),
    VANTREL_BLOB(CustomColor),
    VANTREL_BLOB(Color),
    VANTREL_BLOB(GlobalColor),
    VANTREL_BLOB(DIYColorOption),
    VANTREL_BLOB(DIYColor),
}};
#undef VANTREL_BLOB

unsigned char* bytesOf(ProfileRecord& p) {
    return reinterpret_cast<unsigned char*>(&p);
}
const unsigned char* bytesOf(const ProfileRecord& p) {
    return reinterpret_cast<const unsigned char*>(&p);
}

std::string macroKey(int k) {
    return "MacroKeyInfo" + std::to_string(k);
}

} // namespace

void readProfile(const IniFile& file, ProfileRecord& profile) {
    copyToField(profile.ProFileName, file.readText(kSection, "ProFileName", {}));
    copyToField(profile.GameFile, file.readText(kSection, "GameFile", {}));
    for (const IntKey& key : kIntKeys)
        profile.*key.field = file.readInt(kSection, key.name, -1);
    for (const BlobKey& key : kBlobKeys)
        file.readBlob(kSection, key.name, bytesOf(profile) + key.offset, key.size);
    for (int k = 0; k < kKeyPositions; ++k)
        file.readBlob(kSection, macroKey(k), &profile.MacroKeyInfo[k], sizeof(MacroKeyInfo));
    RecordSafety::makeSafe(profile);
}

void readProfile(const std::string& path, ProfileRecord& profile) {
    readProfile(IniFile(path), profile);
}

void writeProfile(IniFile& file, const ProfileRecord& profile) {
    file.writeText(kSection, "ProFileName", fieldText(profile.ProFileName));
    file.writeText(kSection, "GameFile", fieldText(profile.GameFile));
    for (const IntKey& key : kIntKeys)
        file.writeInt(kSection, key.name, profile.*key.field);
    for (const BlobKey& key : kBlobKeys)
        file.writeBlob(kSection, key.name, bytesOf(profile) + key.offset, key.size);
    for (int k = 0; k < kKeyPositions; ++k)
        file.writeBlob(kSection, macroKey(k), &profile.MacroKeyInfo[k], sizeof(MacroKeyInfo));
}

bool writeProfile(const std::string& path, const ProfileRecord& profile,
                  IniFile::FolderSync folderSync) {
    const FileLock lock(path);
    IniFile file(path);
    writeProfile(file, profile);
    return file.save(folderSync);
}

bool fileExists(const std::string& path) {
    // A folder opens for reading too, but holds no profile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return false;
    struct stat st {};
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

} // namespace vantrel
