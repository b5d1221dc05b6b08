#include "monitor/games/GameMatcher.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace vantrel {

namespace {

enum Closeness { None, SameName, Same };

std::string lower(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool endsWithExe(const std::string& text) {
    return text.size() > 4 && lower(text.substr(text.size() - 4)) == ".exe";
}

bool isWindowsAbsolute(const std::string& path) {
    return path.size() > 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
}

// The file a path names, every link and dot resolved; "" when it names none.
std::string canonical(const std::string& path) {
    if (path.empty())
        return {};
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::canonical(path, error);
    return error ? std::string() : resolved.string();
}

// A Windows program's path in a Wine prefix as a Linux path ("" when the
// drive is unknown): the drive through dosdevices, Z: is / when it has none.
std::string linuxPathOf(const std::string& windowsPath, const std::string& prefix) {
    std::string rest = windowsPath.substr(2);
    std::ranges::replace(rest, '\\', '/');
    const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0])));
    if (!prefix.empty()) {
        const std::string root = canonical(prefix + "/dosdevices/" + drive + ":");
        if (!root.empty())
            return root + rest;
    }
    return drive == 'z' ? rest : std::string();
}

// The last part of a Linux or Windows path, in lower case.
std::string fileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return lower(slash == std::string::npos ? path : path.substr(slash + 1));
}

bool isWineLoader(const std::string& exe) {
    const std::string name = fileName(exe);
    return name == "wine" || name == "wine64" || name == "wine-preloader" ||
           name == "wine64-preloader";
}

// The Windows program a Wine process runs, as its command line names it: the
// first argument ending in .exe (argv[0] for Wine itself, after the loader's
// own arguments for a preloader).
struct WineProgram {
    std::string named;
    std::string file;
};

std::optional<WineProgram> wineProgram(const ActiveWindow& window) {
    if (!isWineLoader(window.exe))
        return std::nullopt;
    const auto named = std::ranges::find_if(window.commandLine, endsWithExe);
    if (named == window.commandLine.end())
        return std::nullopt;
    WineProgram program{*named, {}};
    if (isWindowsAbsolute(*named))
        program.file = canonical(linuxPathOf(*named, window.winePrefix));
    else if (named->front() == '/')
        program.file = canonical(*named);
    else if (named->find('\\') == std::string::npos && !window.workingFolder.empty())
        program.file = canonical(window.workingFolder + "/" + *named);
    return program;
}

Closeness wineCloseness(const std::string& gameFile, const WineProgram& program,
                        const std::string& prefix) {
    const std::string file = isWindowsAbsolute(gameFile) ? canonical(linuxPathOf(gameFile, prefix))
                                                         : canonical(gameFile);
    if (!file.empty() && !program.file.empty())
        return file == program.file ? Same : None;
    if (lower(gameFile) == lower(program.named))
        return Same;
    return fileName(gameFile) == fileName(program.named) ? SameName : None;
}

Closeness closeness(const std::string& gameFile, const ActiveWindow& window,
                    const std::string& program, const std::optional<WineProgram>& wine) {
    if (gameFile.find_first_of("/\\") == std::string::npos) {
        const bool named = std::ranges::any_of(
            window.classes, [&](const std::string& c) { return lower(c) == lower(gameFile); });
        return named ? Same : None;
    }
    const bool absolute = gameFile.front() == '/' || isWindowsAbsolute(gameFile);
    if (!absolute)
        return None;
    if (wine && endsWithExe(gameFile))
        return wineCloseness(gameFile, *wine, window.winePrefix);
    return gameFile.front() == '/' && !program.empty() && canonical(gameFile) == program ? Same
                                                                                         : None;
}

} // namespace

// The GameFiles are resolved at each change, so that a game installed, moved
// or linked anew after its profile named it is still found.
std::optional<int> GameMatcher::match(const std::array<std::string, kProfileCount>& gameFiles,
                                      const ActiveWindow& window) {
    const std::string program = canonical(window.exe);
    const std::optional<WineProgram> wine = wineProgram(window);
    std::optional<int> best;
    Closeness bestCloseness = None;
    for (int n = 0; n < kProfileCount; ++n) {
        if (gameFiles[n].empty())
            continue;
        const Closeness c = closeness(gameFiles[n], window, program, wine);
        if (c > bestCloseness) {
            best = n;
            bestCloseness = c;
        }
    }
    return best;
}

} // namespace vantrel
