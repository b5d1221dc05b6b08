#include "link/SharedBlockMapping.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

namespace {

SharedBlock* mapBlock(int fd) {
    void* view = ::mmap(nullptr, sizeof(SharedBlock), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : static_cast<SharedBlock*>(view);
}

} // namespace

SharedBlockMapping::~SharedBlockMapping() {
    close();
}

SharedBlockMapping::OpenResult SharedBlockMapping::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return OpenResult::Absent;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid()) {
        ::close(fd);
        return OpenResult::Absent;
    }
    // A shorter file would fault on access past its end.
    if (st.st_size < static_cast<off_t>(sizeof(SharedBlock))) {
        ::close(fd);
        return OpenResult::CannotMap;
    }
    m_block = mapBlock(fd);
    ::close(fd);
    return m_block ? OpenResult::Mapped : OpenResult::CannotMap;
}

bool SharedBlockMapping::create(const std::string& path, const SharedBlock& content) {
    close();
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    const bool sized = ::fchmod(fd, 0600) == 0 && ::ftruncate(fd, sizeof(SharedBlock)) == 0;
    if (sized)
        m_block = mapBlock(fd);
    ::close(fd);
    if (m_block)
        *m_block = content;
    if (!m_block || ::rename(temp.c_str(), path.c_str()) != 0) {
        close();
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

void SharedBlockMapping::close() {
    if (m_block)
        ::munmap(m_block, sizeof(SharedBlock));
    m_block = nullptr;
}

} // namespace vantrel
