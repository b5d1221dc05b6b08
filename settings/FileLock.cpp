#include "settings/FileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <unistd.h>

namespace vantrel {

FileLock::FileLock(const std::string& filePath) {
    const std::filesystem::path lockPath(filePath + ".lock");
    std::error_code ec;
    if (lockPath.has_parent_path())
        std::filesystem::create_directories(lockPath.parent_path(), ec);
    m_fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_fd < 0)
        return;
    int rc;
    do {
        rc = ::flock(m_fd, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

FileLock::~FileLock() {
    if (m_fd >= 0)
        ::close(m_fd); // closing the descriptor releases the lock
}

} // namespace vantrel
