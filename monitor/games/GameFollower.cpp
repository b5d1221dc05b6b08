#include "monitor/games/GameFollower.h"

#include "monitor/games/GameMatcher.h"

namespace vantrel {

void GameFollower::setGames(const std::array<std::string, kProfileCount>& gameFiles) {
    m_gameFiles = gameFiles;
}

std::optional<int> GameFollower::activeWindowChanged(const ActiveWindow& window,
                                                     int currentProfile) {
    // Our switch was undone by other means even if nobody said so: the
    // current profile is the user's, nothing to return from.
    if (m_followed && *m_followed != currentProfile)
        m_followed.reset();

    const std::optional<int> game = GameMatcher::match(m_gameFiles, window);
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
