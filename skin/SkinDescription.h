#pragma once

#include "settings/IniFile.h"
#include "skin/ControlPlacement.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// The description of one skinned window: a small INI file in the skins folder
// naming the window's pictures ("SCREEN") and placing its numbered controls
// ("BUTTONPOS", and "PAGEPOSITION" for the main window). The program only
// reads it; a missing file, section or key reads as empty.
class SkinDescription final {
public:
    SkinDescription(std::string skinsFolder, std::string_view fileName);

    const std::string& skinsFolder() const { return m_skinsFolder; }
    const std::string& path() const { return m_file.path(); }

    // At most 2,047 characters; "" when absent.
    std::string readText(std::string_view section, std::string_view key) const;
    int32_t readInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

    // The placement under key in section (all zero when absent).
    ControlPlacement placement(std::string_view section, std::string_view key) const;
    ControlPlacement buttonPlacement(int key) const;

    // skins folder + the value of a "SCREEN" key, with '\' taken as '/'; empty
    // when the key is empty, so that no folder is mistaken for a picture.
    std::string picturePath(std::string_view key) const;
    // skins folder + a fixed picture name such as "slider.bmp".
    std::string filePath(std::string_view name) const;

private:
    std::string m_skinsFolder;
    IniFile m_file;
};

} // namespace vantrel
