#include "link/RuntimeDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

std::optional<std::string> RuntimeDirectory::locate(const char* xdgRuntimeDir, uid_t uid) {
    std::string path;
    if (xdgRuntimeDir && xdgRuntimeDir[0] == '/')
        path = std::string(xdgRuntimeDir) + "/vantrel-gaming-keyboard";
    else
        path = "/tmp/vantrel-gaming-keyboard-" + std::to_string(uid);

    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return std::nullopt;
    // lstat: a symbolic link planted in /tmp must not redirect our objects.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid ||
        (st.st_mode & 077) != 0)
        return std::nullopt;
    return path + "/";
}

std::optional<std::string> RuntimeDirectory::locate() {
    return locate(std::getenv("XDG_RUNTIME_DIR"), ::getuid());
}

} // namespace vantrel
