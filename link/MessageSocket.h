#pragma once

#include "link/LinkMessage.h"

#include <optional>
#include <string>

namespace vantrel {

// A window's mailbox: a bound Unix datagram socket named after the window.
// Only 24-byte datagrams from this user are taken; everything else is dropped.
class MessageSocket final {
public:
    MessageSocket() = default;
    ~MessageSocket();
    MessageSocket(const MessageSocket&) = delete;
    MessageSocket& operator=(const MessageSocket&) = delete;

    // Binds the socket at the path, replacing a stale socket file left there.
    // The caller makes sure it is the only owner of the name.
    bool bind(const std::string& path);
    void close();
    bool isBound() const { return m_fd >= 0; }
    int fd() const { return m_fd; }

    // The next waiting message, skipping what must be dropped; nothing when
    // none is waiting.
    std::optional<LinkMessage> receive();

    // Posts without waiting. False when no window of that name takes it: no
    // socket file, nobody reading it, or its queue is full.
    static bool post(const std::string& path, const LinkMessage& message);

private:
    int m_fd = -1;
    std::string m_path;
};

} // namespace vantrel
