#pragma once

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace vantrel::test {

// Starts a program (found on PATH) with its standard output on a pipe and its
// errors on /dev/null, and returns the first line it writes within 15 seconds
// ("" when none came). Xvfb -displayfd 1 writes its display number so.
inline std::string startProgram(std::vector<const char*> argv, pid_t& pid) {
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    argv.push_back(nullptr);
    pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDERR_FILENO);
        ::execvp(argv[0], const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string line;
    pollfd wait{fds[0], POLLIN, 0};
    char c = 0;
    while (pid > 0 && ::poll(&wait, 1, 15000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n')
        line += c;
    ::close(fds[0]);
    return c == '\n' ? line : std::string();
}

// Starts a program (found on PATH) that writes nothing the test waits for,
// with its standard files on /dev/null.
inline void spawnProgram(std::vector<const char*> argv, pid_t& pid) {
    argv.push_back(nullptr);
    pid = ::fork();
    if (pid == 0) {
        const int quiet = ::open("/dev/null", O_RDWR);
        for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
            ::dup2(quiet, fd);
        ::execvp(argv[0], const_cast<char* const*>(argv.data()));
        ::_exit(127);
    }
}

// Ends a program startProgram started, if it runs, and waits for it.
inline void stopProgram(pid_t& pid, int signal = SIGKILL) {
    if (pid > 0) {
        ::kill(pid, signal);
        ::waitpid(pid, nullptr, 0);
    }
    pid = -1;
}

} // namespace vantrel::test
