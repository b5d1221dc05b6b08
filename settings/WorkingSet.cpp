#include "settings/WorkingSet.h"

#include "settings/FileLock.h"
#include "settings/IniFile.h"
#include "settings/ProfileDefaults.h"
#include "settings/ProfileFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>

namespace vantrel {

WorkingSet::WorkingSet(std::string programFolder) : m_folder(std::move(programFolder)) {}

std::string WorkingSet::profilePath(int n) const {
    return m_folder + "config/Default" + std::to_string(n) + ".gkp";
}

void WorkingSet::readWorkingSet(SharedBlock& settings, const LanguageStrings& strings) const {
    settings.CurrentProfile =
        profileIndexInRange(IniFile(configPath()).readInt("Setting", "CurrentProfile", -1));
    for (int n = 0; n < kProfileCount; ++n) {
        // Factory values first, so that a blob an existing file lacks, or one
        // that fails its checksum, keeps its factory value.
        resetProfile(settings.profiles[n], n, strings);
        const std::string path = profilePath(n);
        if (fileExists(path))
            readProfile(path, settings.profiles[n]);
    }
}

bool WorkingSet::writeWorkingSet(const SharedBlock& settings, std::time_t stamp,
                                 IniFile::FolderSync folderSync) const {
    // The five files are written side by side, each under its own lock, so
    // that their flushes to disk overlap instead of queueing.
    std::array<bool, kProfileCount> saved{};
    {
        std::array<std::jthread, kProfileCount> writers;
        for (int n = 0; n < kProfileCount; ++n) {
            writers[n] = std::jthread([this, &settings, &saved, n] {
                saved[n] = writeProfile(profilePath(n), settings.profiles[n],
                                        IniFile::FolderSync::ByCaller);
            });
        }
    }
    bool ok = std::all_of(saved.begin(), saved.end(), [](bool s) { return s; });
    // One rewrite of config.ini for both values, after the profiles: whoever
    // sees the new stamp finds the new profiles.
    uint8_t code[kChangeStampSize] = {};
    const uint32_t seconds = static_cast<uint32_t>(stamp);
    std::memcpy(code, &seconds, sizeof seconds);
    {
        const FileLock lock(configPath());
        IniFile config(configPath());
        config.writeInt("Setting", "CurrentProfile", settings.CurrentProfile);
        config.writeBlob("HidAccessCode", "Code", code, sizeof code);
        ok = config.save(IniFile::FolderSync::ByCaller) && ok;
    }
    if (folderSync == IniFile::FolderSync::Now) {
        ok = IniFile::syncFolderOf(profilePath(0)) && ok;
        ok = IniFile::syncFolderOf(configPath()) && ok;
    }
    return ok;
}

int32_t WorkingSet::readFirmwareVersion() const {
    return IniFile(configPath()).readInt("Setting", "FWVersion", 100);
}

void WorkingSet::readOsdSettings(uint8_t (&osd)[kOsdSettingsSize]) const {
    IniFile(configPath()).readBlob("OSDSetting", "config", osd, sizeof osd);
}

bool WorkingSet::writeOsdSettings(const uint8_t (&osd)[kOsdSettingsSize]) const {
    const FileLock lock(configPath());
    IniFile config(configPath());
    config.writeBlob("OSDSetting", "config", osd, sizeof osd);
    return config.save();
}

std::string firmwareVersionText(int32_t version, FirmwareReading when) {
    const uint32_t v = static_cast<uint32_t>(version);
    // A negative number would read as a huge one and show as "-.5"; it is no
    // version either way.
    const bool valid = when == FirmwareReading::StartUp ? (v >= 100 && v <= 500) : (version >= 100);
    if (!valid)
        return "N/A";
    std::string text = std::to_string(version);
    text.insert(1, ".");
    return text;
}

} // namespace vantrel
