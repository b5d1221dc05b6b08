#include "monitor/service/StatusSocket.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace vantrel {

namespace {

// Clients answered in one turn of the loop; the rest wait for the next.
constexpr int kClientsPerTurn = 16;

bool addressOf(const std::string& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

} // namespace

bool StatusSocket::listen(const std::string& runtimeDir) {
    close();
    const std::string path = runtimeDir + kName;
    sockaddr_un address{};
    if (!addressOf(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // The caller holds the monitor's lock: a socket there is a dead monitor's.
    ::unlink(path.c_str());
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.c_str(), 0600) != 0 || ::listen(fd, 8) != 0) {
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    m_fd = fd;
    m_path = path;
    return true;
}

void StatusSocket::serve(const std::function<std::string()>& report) {
    std::optional<std::string> text;
    for (int i = 0; i < kClientsPerTurn && m_fd >= 0; ++i) {
        const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0)
            return;
        ucred peer{};
        socklen_t size = sizeof peer;
        if (::getsockopt(client, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
            peer.uid == ::geteuid()) {
            if (!text)
                text = report().substr(0, kMaxAnswer);
            // Whatever the socket does not take at once is not sent.
            (void)!::send(client, text->data(), text->size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        }
        ::close(client);
    }
}

void StatusSocket::close() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_path.c_str());
    m_fd = -1;
}

std::optional<std::string> StatusSocket::ask(const std::string& runtimeDir,
                                             std::chrono::milliseconds patience) {
    sockaddr_un address{};
    if (!addressOf(runtimeDir + kName, address))
        return std::nullopt;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    bool ended = false;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        pollfd wait{fd, POLLIN, 0};
        for (;;) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0 || ::poll(&wait, 1, int(left.count())) != 1)
                break;
            char buffer[4096];
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got <= 0) {
                ended = got == 0;
                break;
            }
            text.append(buffer, size_t(got));
            if (text.size() > kMaxAnswer)
                break;
        }
    }
    ::close(fd);
    if (!ended || text.empty())
        return std::nullopt;
    return text;
}

} // namespace vantrel
