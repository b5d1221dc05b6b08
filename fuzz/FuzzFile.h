#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace vantrel::fuzz {

// A file in memory that the readers open by path like any other; each run puts
// its input there. linkedAs() also makes it reachable under a relative name in
// a folder of its own, for readers that take a folder.
class FuzzFile final {
public:
    FuzzFile()
        : m_fd(::memfd_create("vantrel-fuzz", MFD_CLOEXEC)),
          m_path("/proc/self/fd/" + std::to_string(m_fd)) {}
    ~FuzzFile() {
        if (!m_folder.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(m_folder, ec);
        }
        ::close(m_fd);
    }
    FuzzFile(const FuzzFile&) = delete;
    FuzzFile& operator=(const FuzzFile&) = delete;

    const std::string& path() const { return m_path; }

    void fill(const uint8_t* data, size_t size) {
        if (::ftruncate(m_fd, 0) != 0)
            std::abort();
        for (size_t done = 0; done < size;) {
            const ssize_t n = ::pwrite(m_fd, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0)
                std::abort();
            done += static_cast<size_t>(n);
        }
    }

    // A folder (with a trailing '/') in which relativeName leads to this file.
    std::string linkedAs(const std::string& relativeName) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-fuzz-XXXXXX");
        m_folder = ::mkdtemp(pattern.data());
        const std::filesystem::path link = m_folder / relativeName;
        std::filesystem::create_directories(link.parent_path());
        std::filesystem::create_symlink(m_path, link);
        return m_folder.string() + "/";
    }

private:
    int m_fd;
    std::string m_path;
    std::filesystem::path m_folder;
};

} // namespace vantrel::fuzz
