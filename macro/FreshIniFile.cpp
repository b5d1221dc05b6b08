#include "macro/FreshIniFile.h"

#include "settings/IniFile.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

bool saveFreshIniFile(const std::string& path, const std::function<void(IniFile&)>& fill) {
    const std::filesystem::path target(path);
    std::error_code ec;
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ec);

    // IniFile starts from what is at its path, so the document is built on a
    // new empty file beside the target, which then takes the target's place.
    std::string scratch = path + ".XXXXXX";
    const int fd = ::mkstemp(scratch.data());
    if (fd < 0)
        return false;
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    const bool prepared = ::fchmod(fd, mode) == 0;
    ::close(fd);

    IniFile document(scratch);
    fill(document);
    if (!prepared || !document.save() || ::rename(scratch.c_str(), path.c_str()) != 0) {
        ::unlink(scratch.c_str());
        return false;
    }
    return true;
}

} // namespace vantrel
