#include "app/AppContext.h"

namespace vantrel {

AppContext::AppContext(std::string programFolder, std::optional<std::string> runtimeDir)
    : m_programFolder(std::move(programFolder)), m_skinsFolder(m_programFolder + "skins/"),
      m_runtimeDir(std::move(runtimeDir)), m_strings(m_programFolder + "lan.ini"),
      m_edited(std::make_unique<SharedBlock>()), m_applied(std::make_unique<SharedBlock>()) {}

} // namespace vantrel
