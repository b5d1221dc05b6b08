#pragma once

#include "link/DeviceLink.h"
#include "link/LinkHost.h"
#include "link/LinkProtocol.h"
#include "macro/MacroStore.h"
#include "settings/LanguageStrings.h"
#include "tests/TempDir.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::test {

// Records what the link asked of the window, in order.
class RecordingHost final : public LinkHost {
public:
    void refreshAll() override { log.push_back("refresh"); }
    void setEnabledApply(bool on) override {
        applyEnabled = on;
        log.push_back(on ? "enable" : "disable");
    }
    void setBusy(bool on) override {
        busy = on;
        log.push_back(on ? "busy" : "idle");
    }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void firmwareVersionChanged() override { log.push_back("firmware"); }

    std::vector<std::string> log;
    std::vector<std::string> messages;
    bool busy = false;
    bool applyEnabled = true;
};

// The program's settings, macro store and link protocol over a program folder.
struct ProgramUnderTest {
    TempDir folder;
    std::unique_ptr<SharedBlock> edited = std::make_unique<SharedBlock>();
    std::unique_ptr<SharedBlock> applied = std::make_unique<SharedBlock>();
    LanguageStrings strings;
    MacroStore macros{folder.folder()};
    RecordingHost host;
    std::unique_ptr<LinkProtocol> protocol;

    void start(DeviceLink& link, std::optional<std::string> runtimeDir = std::nullopt) {
        protocol = std::make_unique<LinkProtocol>(
            link, host, LinkProtocol::Settings{*edited, *applied, macros, strings, folder.folder()},
            std::move(runtimeDir));
        protocol->setClock([] { return std::time_t{1700000000}; });
        protocol->startUp();
    }
};

} // namespace vantrel::test
