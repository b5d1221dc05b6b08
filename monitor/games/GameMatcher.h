#pragma once

#include "monitor/games/ActiveWindow.h"
#include "settings/SharedBlock.h"

#include <array>
#include <optional>
#include <string>

namespace vantrel {

// Which profile's GameFile names the focused window. A GameFile is
//  - an absolute path: the window's program is that file (links resolved);
//  - a path ending in .exe (any case), Linux or Windows (C:\Games\foo.exe):
//    the window's process is a Wine loader running that program. When both
//    resolve to a file (drive letters through the prefix's dosdevices), the
//    files decide; otherwise the file names, without regard to case;
//  - a text without / or \: a class of the window, without regard to case.
// Empty and relative texts name nothing. The closest match wins (same file
// or path over same file name), then the lower profile number.
class GameMatcher final {
public:
    static std::optional<int> match(const std::array<std::string, kProfileCount>& gameFiles,
                                    const ActiveWindow& window);
};

} // namespace vantrel
