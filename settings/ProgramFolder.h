#pragma once

#include <string>

namespace vantrel {

// The folder of the running program with a trailing '/', from /proc/self/exe;
// empty when it cannot be found, so that every name is taken relative to the
// current folder.
class ProgramFolder final {
public:
    static std::string locate();
    // The folder part of an executable path, up to and including its last '/'.
    static std::string folderOf(const std::string& executablePath);
};

} // namespace vantrel
