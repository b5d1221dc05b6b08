#include "skin/AppContext.h"

#include "macro/XkbKeyboardLayout.h"
#include "settings/ConfigFolder.h"

#include <QDesktopServices>

namespace vantrel {

AppContext::AppContext(std::string programFolder, std::optional<std::string> runtimeDir)
    : m_programFolder(std::move(programFolder)),
      m_configFolder(ConfigFolder::locate(m_programFolder)),
      m_skinsFolder(m_programFolder + "skins/"), m_runtimeDir(std::move(runtimeDir)),
      m_strings(m_programFolder + "lan.ini"), m_layout(XkbKeyboardLayout::forApplication()),
      m_keyCapture(*m_layout), m_edited(std::make_unique<SharedBlock>()),
      m_applied(std::make_unique<SharedBlock>()), m_macros(m_configFolder),
      m_openUrl([](const QUrl& url) { QDesktopServices::openUrl(url); }) {}

} // namespace vantrel
