#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace vantrel {

// The per-user folder that holds the named objects shared with the monitor:
// $XDG_RUNTIME_DIR/vantrel-gaming-keyboard/ when that variable is an absolute
// path, else /tmp/vantrel-gaming-keyboard-<uid>/. It is created with mode 0700;
// one that is not a directory of this user closed to everybody else is refused.
class RuntimeDirectory final {
public:
    // The path with a trailing '/', or nothing when the folder is unusable.
    static std::optional<std::string> locate(const char* xdgRuntimeDir, uid_t uid);
    // The same for this process's environment and user.
    static std::optional<std::string> locate();
};

} // namespace vantrel
