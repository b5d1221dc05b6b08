#include "link/MonitorStarter.h"

#include "link/LinkNames.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vantrel {

bool MonitorStarter::monitorAnswers(const std::string& runtimeDir) {
    const std::string path = runtimeDir + kMonitorSocketName;
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path)
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A datagram connect sends nothing; it fails when nobody has the name bound.
    const bool answers =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answers;
}

std::optional<pid_t> MonitorStarter::start(const std::string& executable,
                                           const std::string& runtimeDir,
                                           std::chrono::milliseconds limit) {
    if (::access(executable.c_str(), X_OK) != 0)
        return std::nullopt;
    int pidPipe[2];
    if (::pipe2(pidPipe, O_CLOEXEC) != 0)
        return std::nullopt;
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    char* const argv[] = {const_cast<char*>(executable.c_str()), nullptr};

    // Forked twice, so that the monitor is nobody's child here and no zombie
    // waits for this program. Between fork and exec only async-signal-safe calls.
    const pid_t middle = ::fork();
    if (middle == 0) {
        ::setsid();
        const pid_t monitor = ::fork();
        if (monitor == 0) {
            if (null >= 0) {
                ::dup2(null, STDIN_FILENO);
                ::dup2(null, STDOUT_FILENO);
                ::dup2(null, STDERR_FILENO);
            }
            // An inherited lock or socket would outlive this program in the monitor.
            ::close_range(3, ~0U, 0);
            ::execv(executable.c_str(), argv);
            ::_exit(127);
        }
        (void)!::write(pidPipe[1], &monitor, sizeof monitor);
        ::_exit(0);
    }
    ::close(pidPipe[1]);
    if (null >= 0)
        ::close(null);
    pid_t monitor = -1;
    if (middle > 0) {
        if (::read(pidPipe[0], &monitor, sizeof monitor) != sizeof monitor)
            monitor = -1;
        while (::waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    ::close(pidPipe[0]);
    if (monitor <= 0)
        return std::nullopt;

    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!monitorAnswers(runtimeDir)) {
        // A monitor that gave up (another one won the race) is not waited for.
        if (std::chrono::steady_clock::now() > deadline || ::kill(monitor, 0) != 0)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return monitor;
}

void MonitorStarter::ensureRunning(const std::string& programFolder,
                                   const std::string& runtimeDir) {
    if (!monitorAnswers(runtimeDir))
        start(programFolder + kMonitorName, runtimeDir, kStartLimit);
}

} // namespace vantrel
