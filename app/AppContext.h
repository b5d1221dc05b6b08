#pragma once

#include "settings/LanguageStrings.h"
#include "settings/SharedBlock.h"
#include "settings/UsKeyboardLayout.h"

#include <memory>
#include <optional>
#include <string>

namespace vantrel {

// The process-wide values, owned by the application and handed by reference to
// whoever needs them, so that every test can build its own.
class AppContext final {
public:
    AppContext(std::string programFolder, std::optional<std::string> runtimeDir);

    const std::string& programFolder() const { return m_programFolder; }
    const std::string& skinsFolder() const { return m_skinsFolder; }
    const std::optional<std::string>& runtimeDir() const { return m_runtimeDir; }
    const LanguageStrings& strings() const { return m_strings; }
    const KeyboardLayout& keyboardLayout() const { return m_layout; }

    // What the pages change, and what was last applied or read.
    SharedBlock& editedSettings() { return *m_edited; }
    SharedBlock& appliedSettings() { return *m_applied; }

private:
    std::string m_programFolder;
    std::string m_skinsFolder;
    std::optional<std::string> m_runtimeDir;
    LanguageStrings m_strings;
    UsKeyboardLayout m_layout;
    std::unique_ptr<SharedBlock> m_edited;
    std::unique_ptr<SharedBlock> m_applied;
};

} // namespace vantrel
