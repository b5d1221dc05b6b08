#pragma once

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
    // CurrentProfile into config.ini, then the five working profiles.
    bool writeWorkingSet(const SharedBlock& settings) const;

    int32_t readFirmwareVersion() const;

    // Leaves the buffer as it was when config.ini has no valid blob.
    void readOsdSettings(uint8_t (&osd)[kOsdSettingsSize]) const;
    bool writeOsdSettings(const uint8_t (&osd)[kOsdSettingsSize]) const;
    // Seconds since 1970 in bytes 0..3, the rest zero.
    bool writeChangeStamp(std::time_t now) const;

private:
    std::string m_folder;
};

std::string firmwareVersionText(int32_t version, FirmwareReading when);

} // namespace vantrel
