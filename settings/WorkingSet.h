#pragma once

#include "settings/IniFile.h"
#include "settings/SharedBlock.h"

#include <cstdint>
#include <ctime>
#include <string>

namespace vantrel {

class LanguageStrings;

inline constexpr size_t kOsdSettingsSize = 340;
inline constexpr size_t kChangeStampSize = 16;

// When the firmware version is read: at start-up only 100..500 are believed; a
// notification from the monitor accepts anything from 100 up.
enum class FirmwareReading { StartUp, Notification };

// The files beside the program: config.ini and the five working profiles
// config/Default0.gkp .. Default4.gkp. The folder ends with '/' (or is empty).
class WorkingSet final {
public:
    explicit WorkingSet(std::string programFolder);

    std::string configPath() const { return m_folder + "config.ini"; }
    std::string profilePath(int n) const;

    // CurrentProfile from config.ini (brought into 0..4), then each working
    // profile: its factory values, then what its file holds, if it has one.
    void readWorkingSet(SharedBlock& settings, const LanguageStrings& strings) const;
    // The five working profiles, then CurrentProfile and the change stamp
    // (seconds since 1970 in bytes 0..3 of "HidAccessCode", the rest zero) in
    // one rewrite of config.ini. The two folders are flushed once at the end,
    // or by the caller.
    bool writeWorkingSet(const SharedBlock& settings, std::time_t stamp,
                         IniFile::FolderSync folderSync = IniFile::FolderSync::Now) const;

    int32_t readFirmwareVersion() const;

    // Leaves the buffer as it was when config.ini has no valid blob.
    void readOsdSettings(uint8_t (&osd)[kOsdSettingsSize]) const;
    bool writeOsdSettings(const uint8_t (&osd)[kOsdSettingsSize]) const;

private:
    std::string m_folder;
};

std::string firmwareVersionText(int32_t version, FirmwareReading when);

} // namespace vantrel
