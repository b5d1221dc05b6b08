#include "link/MessageSocket.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vantrel {

namespace {

bool socketAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

const sockaddr* asSockaddr(const sockaddr_un& address) {
    return reinterpret_cast<const sockaddr*>(&address);
}

} // namespace

MessageSocket::~MessageSocket() {
    close();
}

bool MessageSocket::bind(const std::string& path) {
    close();
    sockaddr_un address;
    if (!socketAddress(path, address))
        return false;
    m_fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0)
        return false;
    const int on = 1;
    ::unlink(path.c_str());
    if (::setsockopt(m_fd, SOL_SOCKET, SO_PASSCRED, &on, sizeof on) != 0 ||
        ::bind(m_fd, asSockaddr(address), sizeof address) != 0) {
        close();
        return false;
    }
    m_path = path;
    return true;
}

void MessageSocket::close() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_path.c_str());
    m_fd = -1;
    m_path.clear();
}

std::optional<LinkMessage> MessageSocket::receive() {
    while (m_fd >= 0) {
        // One byte more than a message, so a longer datagram shows its size.
        unsigned char data[LinkMessage::kSize + 1];
        iovec io{data, sizeof data};
        alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(ucred))];
        msghdr header{};
        header.msg_iov = &io;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t n = ::recvmsg(m_fd, &header, MSG_DONTWAIT);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        const cmsghdr* c = CMSG_FIRSTHDR(&header);
        bool fromThisUser = false;
        if (c && c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_CREDENTIALS) {
            ucred credentials;
            std::memcpy(&credentials, CMSG_DATA(c), sizeof credentials);
            fromThisUser = credentials.uid == ::getuid();
        }
        if (!fromThisUser || (header.msg_flags & MSG_TRUNC))
            continue;
        if (auto message = LinkMessage::decode(data, static_cast<size_t>(n)))
            return message;
    }
    return std::nullopt;
}

bool MessageSocket::post(const std::string& path, const LinkMessage& message) {
    sockaddr_un address;
    if (!socketAddress(path, address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const auto bytes = message.encode();
    ssize_t sent;
    do {
        sent = ::sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT, asSockaddr(address),
                        sizeof address);
    } while (sent < 0 && errno == EINTR);
    ::close(fd);
    return sent == static_cast<ssize_t>(bytes.size());
}

} // namespace vantrel
