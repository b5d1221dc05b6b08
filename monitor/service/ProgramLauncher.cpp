#include "monitor/service/ProgramLauncher.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vantrel {

ProgramLauncher::~ProgramLauncher() {
    reap();
}

pid_t ProgramLauncher::launch(const std::string& path, std::string& whyNot) {
    reap();
    struct stat info {};
    if (path.empty() || path[0] != '/') {
        whyNot = "not a full path";
        return -1;
    }
    if (::stat(path.c_str(), &info) != 0) {
        whyNot = std::strerror(errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode) || ::access(path.c_str(), X_OK) != 0) {
        whyNot = "not an executable file";
        return -1;
    }

    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    // Whatever the monitor holds (the keyboards' grab above all) stays with it.
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    for (const std::string& word : m_starter)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(const_cast<char*>(path.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int failed = ::posix_spawn(&pid, argv[0], &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (failed) {
        whyNot = std::strerror(failed);
        return -1;
    }
    m_children.push_back(pid);
    return pid;
}

void ProgramLauncher::reap() {
    std::erase_if(m_children, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

} // namespace vantrel
