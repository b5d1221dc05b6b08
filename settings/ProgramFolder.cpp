#include "settings/ProgramFolder.h"

#include <filesystem>

namespace vantrel {

std::string ProgramFolder::locate() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : folderOf(exe.string());
}

std::string ProgramFolder::folderOf(const std::string& executablePath) {
    const size_t slash = executablePath.rfind('/');
    return slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
}

} // namespace vantrel
