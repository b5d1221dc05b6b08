#include "skin/SkinDescription.h"

#include <algorithm>

namespace vantrel {

SkinDescription::SkinDescription(std::string skinsFolder, std::string_view fileName)
    : m_skinsFolder(std::move(skinsFolder)), m_file(m_skinsFolder + std::string(fileName)) {}

std::string SkinDescription::readText(std::string_view section, std::string_view key) const {
    return m_file.readText(section, key, {});
}

int32_t SkinDescription::readInt(std::string_view section, std::string_view key,
                                 int32_t defaultValue) const {
    return m_file.readInt(section, key, defaultValue);
}

ControlPlacement SkinDescription::placement(std::string_view section, std::string_view key) const {
    return parsePlacement(readText(section, key));
}

ControlPlacement SkinDescription::buttonPlacement(int key) const {
    return placement("BUTTONPOS", std::to_string(key));
}

std::string SkinDescription::picturePath(std::string_view key) const {
    const std::string value = readText("SCREEN", key);
    return value.empty() ? std::string() : filePath(value);
}

std::string SkinDescription::filePath(std::string_view name) const {
    std::string path = m_skinsFolder + std::string(name);
    std::replace(path.begin() + static_cast<std::ptrdiff_t>(m_skinsFolder.size()), path.end(), '\\',
                 '/');
    return path;
}

} // namespace vantrel
