#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vantrel {

// Starts the programs that keys launch: the file itself, with no shell and no
// arguments, in a session of its own, its input and output on /dev/null and
// none of the monitor's files open. Nothing else is ever run for a path.
class ProgramLauncher final {
public:
    ProgramLauncher() = default;
    ~ProgramLauncher();
    ProgramLauncher(const ProgramLauncher&) = delete;
    ProgramLauncher& operator=(const ProgramLauncher&) = delete;

    // The process id, or -1 with the reason in whyNot when the path is not an
    // executable regular file or the start failed.
    pid_t launch(const std::string& path, std::string& whyNot);
    // Collects the programs that have ended, so none stays a zombie.
    void reap();
    // A command that starts the program on the monitor's behalf, the path
    // appended (the user manager's systemd-run, so that the program runs
    // outside the monitor's sandbox); empty starts it directly.
    void setStarter(std::vector<std::string> command) { m_starter = std::move(command); }

private:
    std::vector<pid_t> m_children;
    std::vector<std::string> m_starter;
};

} // namespace vantrel
