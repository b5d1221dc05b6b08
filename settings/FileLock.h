#pragma once

#include <string>

namespace vantrel {

// Advisory lock for a read-modify-write of one file: an exclusive flock on
// "<file>.lock" beside it. The monitor process takes the same lock before it
// writes config.ini, so neither side loses the other's change.
class FileLock final {
public:
    explicit FileLock(const std::string& filePath);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

} // namespace vantrel
