#pragma once

#include "link/DeviceLink.h"
#include "link/LinkMessage.h"
#include "link/MessageSocket.h"
#include "settings/SharedBlock.h"
#include "settings/WorkingSet.h"

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace vantrel {

class LanguageStrings;
class LinkHost;
class MacroStore;

// The program's half of the conversation with the monitor: start-up, the apply
// transaction and the monitor's messages, on the settings copies the pages edit.
class LinkProtocol final {
public:
    static constexpr const char* kDriverVersionText = "1.02";
    static constexpr const char* kCannotMapText = "Could not map view of file.";

    struct Settings {
        SharedBlock& edited;
        SharedBlock& applied;
        MacroStore& macros;
        const LanguageStrings& strings;
        std::string configFolder; // where config.ini and config/ live
    };

    LinkProtocol(DeviceLink& link, LinkHost& host, Settings settings,
                 std::optional<std::string> runtimeDir);

    // Binds the program's mailbox, then fills both settings copies from the
    // monitor's block, or from the working files when it is not running.
    void startUp();
    // Code 1 for OK and Apply, 3 after a confirmed reset.
    void apply(uint32_t code);
    void handleMessage(uint32_t message);
    // Handles every message waiting in the mailbox.
    void receivePending();
    void closeLink();

    // The mailbox, for the event loop to watch; -1 when it could not be bound.
    int socketFd() const { return m_socket.fd(); }
    bool linkOpen() const { return m_open; }
    const std::string& firmwareVersionText() const { return m_firmwareText; }

    // The clock of the change stamp.
    void setClock(std::function<std::time_t()> clock) { m_clock = std::move(clock); }

private:
    void takeOverBlock();

    DeviceLink& m_link;
    LinkHost& m_host;
    Settings m_settings;
    std::optional<std::string> m_runtimeDir;
    WorkingSet m_files;
    MessageSocket m_socket;
    bool m_open = false;
    uint8_t m_osd[kOsdSettingsSize] = {};
    std::string m_firmwareText;
    std::function<std::time_t()> m_clock = [] { return std::time(nullptr); };
};

} // namespace vantrel
