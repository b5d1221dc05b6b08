#pragma once

#include "settings/IniFile.h"

#include <string>

namespace vantrel {

inline constexpr int kStringProfileName = 1040;

// The user-visible words of the program, by number, from "lan.ini" in the
// program folder (section "Strings", key = the number, UTF-8 text). A missing
// file or number gives the empty string.
class LanguageStrings final {
public:
    // An empty path gives a table without any text.
    explicit LanguageStrings(const std::string& path = {}) : m_file(path) {}

    std::string text(int id) const { return m_file.readText("Strings", std::to_string(id), {}); }

private:
    IniFile m_file;
};

} // namespace vantrel
