#include "link/RobustMutex.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

namespace {

pthread_mutex_t* mapMutex(int fd) {
    void* view =
        ::mmap(nullptr, sizeof(pthread_mutex_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    return view == MAP_FAILED ? nullptr : static_cast<pthread_mutex_t*>(view);
}

} // namespace

RobustMutex::~RobustMutex() {
    close();
}

bool RobustMutex::open(const std::string& path) {
    close();
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::getuid() &&
        st.st_size >= static_cast<off_t>(sizeof(pthread_mutex_t)))
        m_mutex = mapMutex(fd);
    ::close(fd);
    return m_mutex != nullptr;
}

bool RobustMutex::create(const std::string& path) {
    close();
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    if (::fchmod(fd, 0600) == 0 && ::ftruncate(fd, sizeof(pthread_mutex_t)) == 0)
        m_mutex = mapMutex(fd);
    ::close(fd);

    bool ready = false;
    pthread_mutexattr_t attr;
    if (m_mutex && pthread_mutexattr_init(&attr) == 0) {
        ready = pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED) == 0 &&
                pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST) == 0 &&
                pthread_mutex_init(m_mutex, &attr) == 0;
        pthread_mutexattr_destroy(&attr);
    }
    if (!ready || ::rename(temp.c_str(), path.c_str()) != 0) {
        close();
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

void RobustMutex::close() {
    if (m_mutex)
        ::munmap(m_mutex, sizeof(pthread_mutex_t));
    m_mutex = nullptr;
}

RobustMutex::LockResult RobustMutex::lock() {
    if (!m_mutex)
        return LockResult::Failed;
    timespec deadline{};
    ::clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += kWaitSeconds;
    const int rc = pthread_mutex_timedlock(m_mutex, &deadline);
    if (rc == EOWNERDEAD) {
        pthread_mutex_consistent(m_mutex);
        pthread_mutex_unlock(m_mutex);
        return LockResult::OwnerDied;
    }
    return rc == 0 ? LockResult::Locked : LockResult::Failed;
}

RobustMutex::LockResult RobustMutex::lockOnceMoreIfOwnerDied() {
    const LockResult result = lock();
    return result == LockResult::OwnerDied ? lock() : result;
}

void RobustMutex::unlock() {
    if (m_mutex)
        pthread_mutex_unlock(m_mutex);
}

} // namespace vantrel
