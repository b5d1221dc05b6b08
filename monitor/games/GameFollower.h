#pragma once

#include "monitor/games/ActiveWindow.h"
#include "settings/SharedBlock.h"

#include <array>
#include <optional>
#include <string>

namespace vantrel {

// Decides the profile switches that follow the game: when the program or
// window class a profile's GameFile names (see GameMatcher) gains the focus, that profile becomes
// current, and the one current before comes back when the program loses the
// focus or ends. A switch by other means while a game's profile is in force
// keeps the user's choice: the return is dropped, and following acts again at
// the next game that gains the focus.
class GameFollower final {
public:
    // gameFiles: the five profiles' GameFile texts as the block holds them. An
    // empty or relative text names no game.
    void setGames(const std::array<std::string, kProfileCount>& gameFiles);
    // The focused window changed (all empty when no window has the focus).
    // Returns the profile to switch to, if any.
    std::optional<int> activeWindowChanged(const ActiveWindow& window, int currentProfile);
    // The current profile was changed by other means (key or the utility). A
    // switch to the game's profile that is in force changes nothing, so the
    // follower's own switches may come back here too.
    void manualSwitch(int profile);

private:
    std::array<std::string, kProfileCount> m_gameFiles;
    // While a switch of ours is in force: the game's profile, and the one to
    // return to.
    std::optional<int> m_followed;
    int m_returnTo = 0;
};

} // namespace vantrel
