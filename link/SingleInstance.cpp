#include "link/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vantrel {

SingleInstance::SingleInstance(const std::optional<std::string>& runtimeDir) {
    if (!runtimeDir) {
        m_acquired = true;
        return;
    }
    const std::string path = *runtimeDir + kLockName;
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        m_acquired = true; // nowhere to keep the mark: run as if alone
        return;
    }
    m_acquired = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}

SingleInstance::~SingleInstance() {
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace vantrel
