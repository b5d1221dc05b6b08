#pragma once

#include <string>

namespace vantrel {

// Where the files the program and the monitor write live (config.ini and
// config/): beside the program when the user may write in the program folder,
// otherwise $XDG_CONFIG_HOME/vantrel-gaming-keyboard/ ($HOME/.config/... when
// that variable is unset, empty or relative), made with mode 0700 on first use.
// Both processes ask here, so they always use the same files.
class ConfigFolder final {
public:
    static constexpr const char* kFolderName = "vantrel-gaming-keyboard";

    // The folder for this process's user and environment, with a trailing '/'
    // (empty, like the program folder, for names relative to the current one).
    static std::string locate(const std::string& programFolder);
    // The same with the facts given. Without a usable home either, the program
    // folder, where writes then fail as they always did.
    static std::string locate(const std::string& programFolder, bool programFolderWritable,
                              const std::string& xdgConfigHome, const std::string& home);
    // True when this user may make files in the folder ("" is the current one).
    static bool writable(const std::string& folder);
};

} // namespace vantrel
