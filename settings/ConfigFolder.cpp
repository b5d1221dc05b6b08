#include "settings/ConfigFolder.h"

#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

namespace {

bool isAbsolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

// "/a/b/" and "/a/b" name the same folder; "/" stays as it is.
std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// Makes every missing folder of the path with mode 0700, as the XDG rules ask
// for the folders they name.
void makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        ::mkdir(path.substr(0, slash).c_str(), 0700);
    ::mkdir(path.c_str(), 0700);
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}

} // namespace

std::string ConfigFolder::locate(const std::string& programFolder) {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    return locate(programFolder, writable(programFolder), xdg ? xdg : "", homeFolder());
}

std::string ConfigFolder::locate(const std::string& programFolder, bool programFolderWritable,
                                 const std::string& xdgConfigHome, const std::string& home) {
    if (programFolderWritable)
        return programFolder;
    std::string base;
    if (isAbsolute(xdgConfigHome))
        base = withoutTrailingSlashes(xdgConfigHome);
    else if (isAbsolute(home))
        base = withoutTrailingSlashes(home) + "/.config";
    else
        return programFolder;
    const std::string folder = (base == "/" ? "" : base) + "/" + kFolderName;
    makeFolders(folder);
    return folder + "/";
}

bool ConfigFolder::writable(const std::string& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace vantrel
