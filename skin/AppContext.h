#pragma once

#include "macro/KeyCapture.h"
#include "macro/MacroStore.h"
#include "settings/KeyboardLayout.h"
#include "settings/LanguageStrings.h"
#include "settings/SharedBlock.h"
#include "skin/DialogRunner.h"
#include "skin/MenuRunner.h"

#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace vantrel {

// The process-wide values, owned by the application and handed by reference to
// whoever needs them, so that every test can build its own. Made after the
// QApplication, whose display the keyboard layout is read from.
class AppContext final {
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    AppContext(std::string programFolder, std::optional<std::string> runtimeDir);

    const std::string& programFolder() const { return m_programFolder; }
    // Where config.ini and config/ live (ConfigFolder).
    const std::string& configFolder() const { return m_configFolder; }
    const std::string& skinsFolder() const { return m_skinsFolder; }
    const std::optional<std::string>& runtimeDir() const { return m_runtimeDir; }
    const LanguageStrings& strings() const { return m_strings; }
    const KeyboardLayout& keyboardLayout() const { return *m_layout; }
    // The one key capture of the process, for recording macros and entering shortcuts.
    KeyCapture& keyCapture() { return m_keyCapture; }

    // What the pages change, and what was last applied or read.
    SharedBlock& editedSettings() { return *m_edited; }
    SharedBlock& appliedSettings() { return *m_applied; }
    MacroStore& macroStore() { return m_macros; }
    // The profile the pages edit: the edited settings' current one.
    ProfileRecord& currentProfile() {
        return m_edited->profiles[profileIndexInRange(m_edited->CurrentProfile)];
    }

    // The view switch's state as last clicked: 0 key mode, 1 lighting mode.
    // The DIY lighting pages read it.
    int viewState() const { return m_viewState; }
    void setViewState(int state) { m_viewState = state; }

    // A copy of the entry of the key whose menu was opened last, from which
    // the macro manager preselects the key's macro.
    MacroKeyInfo& keyEntryScratch() { return m_keyEntryScratch; }

    // Every modal dialog, file dialogs included, runs through this; every
    // popup menu through menus().
    DialogRunner& dialogs() { return m_dialogs; }
    MenuRunner& menus() { return m_menus; }
    // Hands a file or web address to the desktop's handler.
    void openUrl(const QUrl& url) const { m_openUrl(url); }
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

private:
    std::string m_programFolder;
    std::string m_configFolder;
    std::string m_skinsFolder;
    std::optional<std::string> m_runtimeDir;
    LanguageStrings m_strings;
    std::unique_ptr<KeyboardLayout> m_layout;
    KeyCapture m_keyCapture;
    std::unique_ptr<SharedBlock> m_edited;
    std::unique_ptr<SharedBlock> m_applied;
    MacroStore m_macros;
    int m_viewState = 0;
    MacroKeyInfo m_keyEntryScratch{};
    DialogRunner m_dialogs;
    MenuRunner m_menus;
    UrlOpener m_openUrl;
};

} // namespace vantrel
