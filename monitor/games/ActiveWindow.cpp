#include "monitor/games/ActiveWindow.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace vantrel {

namespace {

// A /proc file of NUL-separated strings, at most 64 KiB of it.
std::vector<std::string> nulSeparated(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    text.resize(65536);
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    std::vector<std::string> parts;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\0', start), text.size());
        parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string link(const std::string& path) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    return error ? std::string() : target.string();
}

} // namespace

ActiveWindow ActiveWindow::ofProcess(pid_t pid, std::vector<std::string> classes) {
    ActiveWindow window;
    window.classes = std::move(classes);
    const std::string process = "/proc/" + std::to_string(pid);
    struct stat info {};
    if (pid <= 0 || ::stat(process.c_str(), &info) != 0 || info.st_uid != ::geteuid())
        return window;
    window.exe = link(process + "/exe");
    if (window.exe.empty())
        return window;
    window.commandLine = nulSeparated(process + "/cmdline");
    window.workingFolder = link(process + "/cwd");
    std::string home;
    for (const std::string& variable : nulSeparated(process + "/environ")) {
        if (variable.starts_with("WINEPREFIX="))
            window.winePrefix = variable.substr(11);
        else if (variable.starts_with("HOME="))
            home = variable.substr(5);
    }
    if (home.empty()) {
        const char* own = std::getenv("HOME");
        home = own ? own : "";
    }
    if (window.winePrefix.empty() && !home.empty())
        window.winePrefix = home + "/.wine";
    return window;
}

} // namespace vantrel
