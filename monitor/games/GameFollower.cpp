#include "monitor/games/GameFollower.h"

#include <filesystem>
#include <system_error>

namespace vantrel {

namespace {

// The file a path names, every link and dot resolved; "" when it names none.
std::string canonical(const std::string& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? std::string() : resolved.string();
}

} // namespace

void GameFollower::setGames(const std::array<std::string, kProfileCount>& gameFiles) {
    m_gameFiles = gameFiles;
}

// The GameFiles are resolved at each change, so that a game installed, moved
// or linked anew after its profile named it is still found.
std::optional<int> GameFollower::gameProfile(const std::string& exe) const {
    const std::string program = exe.empty() ? std::string() : canonical(exe);
    if (program.empty())
        return std::nullopt;
    for (int n = 0; n < kProfileCount; ++n) {
        // A relative path would be taken from the monitor's working folder.
        const std::string& file = m_gameFiles[n];
        if (!file.empty() && file.front() == '/' && canonical(file) == program)
            return n;
    }
    return std::nullopt;
}

std::optional<int> GameFollower::activeProgramChanged(const std::string& exe, int currentProfile) {
    // Our switch was undone by other means even if nobody said so: the
    // current profile is the user's, nothing to return from.
    if (m_followed && *m_followed != currentProfile)
        m_followed.reset();

    const std::optional<int> game = gameProfile(exe);
    if (!game) {
        const bool returning = m_followed && m_returnTo != currentProfile;
        m_followed.reset();
        return returning ? std::optional<int>(m_returnTo) : std::nullopt;
    }
    if (*game == currentProfile)
        return std::nullopt;
    // From one game to another the return stays the profile before the first.
    if (!m_followed)
        m_returnTo = currentProfile;
    m_followed = *game;
    return game;
}

void GameFollower::manualSwitch(int profile) {
    if (m_followed && *m_followed != profile)
        m_followed.reset();
}

} // namespace vantrel
