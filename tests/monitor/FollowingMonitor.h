#pragma once

#include "link/LinkMessage.h"
#include "link/LinkNames.h"
#include "link/MessageSocket.h"
#include "monitor/service/MonitorCommands.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"
#include "settings/WorkingSet.h"
#include "tests/TempDir.h"
#include "tests/Wait.h"
#include "tests/link/RunningMonitor.h"

#include <cstdlib>
#include <initializer_list>
#include <memory>

namespace vantrel::test {

// Why a test of outside programs cannot run: the first one not installed.
inline std::string missingTool(std::initializer_list<std::string> tools) {
    for (const std::string& tool : tools) {
        if (std::system(("command -v " + tool + " >/dev/null").c_str()) != 0)
            return tool + " is not installed (scripts/deps.sh installs it)";
    }
    return {};
}

// A monitor following the games of a window source, with the given GameFiles
// in its profiles, and the program's mailbox to see its switches.
class FollowingMonitor {
public:
    FollowingMonitor(const std::array<std::string, kProfileCount>& games,
                     std::unique_ptr<WindowSource> source) {
        auto settings = std::make_unique<SharedBlock>();
        resetAllProfiles(*settings, LanguageStrings());
        for (int p = 0; p < kProfileCount; ++p)
            copyToField(settings->profiles[p].GameFile, games[p]);
        WorkingSet(m_folder.folder()).writeWorkingSet(*settings, 0);
        m_program.bind(m_runtime.folder() + kProgramSocketName);
        m_monitor = std::make_unique<RunningMonitor>(
            m_runtime.folder(), m_folder.folder(), std::chrono::milliseconds(0),
            [&](Monitor& m) { m.followGames(std::move(source), "a test source"); });
    }

    // Whether the monitor posts "device changed" within the limit and the
    // block then has the profile current.
    bool switchesTo(int profile, std::chrono::milliseconds limit = std::chrono::seconds(20)) {
        const bool noticed = waitUntil(
            [&] {
                const auto message = m_program.receive();
                return message && message->message == kMsgDeviceChanged;
            },
            limit);
        auto block = std::make_unique<SharedBlock>();
        return noticed && MonitorCommands::readBlock(m_runtime.folder(), *block) &&
               block->CurrentProfile == profile;
    }

private:
    TempDir m_runtime, m_folder;
    MessageSocket m_program;
    std::unique_ptr<RunningMonitor> m_monitor;
};

} // namespace vantrel::test
