#include "monitor/lighting/OpenRgbClient.h"

#include "monitor/lighting/ControllerDescription.h"
#include "monitor/lighting/KeyLedNames.h"
#include "monitor/lighting/OpenRgbPacket.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <unistd.h>

namespace vantrel {

namespace {

constexpr char kClientName[] = "vantrel-monitor";
// More controllers than any machine has: the count is garbage.
constexpr uint32_t kMostControllers = 4096;
// A small send buffer, so that a server that reads slowly holds back the
// frames here, where a newer one replaces them, not in the kernel.
constexpr int kSendBuffer = 16 * 1024;

} // namespace

std::optional<OpenRgbClient::Endpoint> OpenRgbClient::resolve(const std::string& hostPort,
                                                              std::string& whyNot) {
    const size_t colon = hostPort.rfind(':');
    std::string host = hostPort.substr(0, colon);
    const std::string port = colon == std::string::npos ? "" : hostPort.substr(colon + 1);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    if (host.empty() || port.empty() || port.find_first_not_of("0123456789") != std::string::npos) {
        whyNot = "\"" + hostPort + "\" is not HOST:PORT";
        return std::nullopt;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found)) {
        whyNot = "\"" + hostPort + "\": " + ::gai_strerror(error);
        return std::nullopt;
    }
    Endpoint endpoint;
    std::memcpy(&endpoint.address, found->ai_addr, found->ai_addrlen);
    endpoint.length = found->ai_addrlen;
    endpoint.text = hostPort;
    ::freeaddrinfo(found);
    return endpoint;
}

OpenRgbClient::OpenRgbClient(Endpoint endpoint, std::vector<std::string> deviceNames,
                             std::chrono::milliseconds patience)
    : m_endpoint(std::move(endpoint)), m_deviceNames(std::move(deviceNames)), m_patience(patience) {
}

OpenRgbClient::~OpenRgbClient() {
    if (m_fd >= 0)
        ::close(m_fd);
}

short OpenRgbClient::events() const {
    if (m_fd < 0)
        return 0;
    if (m_state == State::Connecting)
        return POLLOUT;
    return short(POLLIN | (unsentBytes() ? POLLOUT : 0));
}

void OpenRgbClient::connect(Clock::time_point now) {
    m_fd = ::socket(m_endpoint.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        drop("no socket", now);
        return;
    }
    const int one = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ::setsockopt(m_fd, SOL_SOCKET, SO_SNDBUF, &kSendBuffer, sizeof kSendBuffer);
    m_waitingSince = now;
    if (::connect(m_fd, reinterpret_cast<const sockaddr*>(&m_endpoint.address),
                  m_endpoint.length) == 0) {
        connected(now);
    } else if (errno == EINPROGRESS) {
        m_state = State::Connecting;
    } else {
        drop(nullptr, now);
    }
}

void OpenRgbClient::connected(Clock::time_point now) {
    m_state = State::Version;
    std::vector<uint8_t> version;
    OpenRgbPacket::putU32(version, kProtocolVersion);
    request(0, OpenRgbPacket::kRequestProtocolVersion, version, now);
}

// why is null when no server answered the connection.
void OpenRgbClient::drop(const char* why, Clock::time_point now, bool lost) {
    // A server that went away after serving a while may be back at once (a
    // restart); one that fails or ends every connection is tried again later.
    const bool atOnce = lost && m_state == State::Ready && now - m_readySince >= m_patience;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_patience).count();
    const std::string said = why ? "OpenRGB at " + m_endpoint.text + " " + why + "; trying again"
                                 : "OpenRGB is not running at " + m_endpoint.text +
                                       " (or its SDK server is off); trying again every " +
                                       std::to_string(seconds) + " s";
    // Each failure once, until the controllers are lit again.
    if (said != m_said)
        std::fprintf(stderr, "vantrel-monitor: %s\n", said.c_str());
    m_said = said;
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_state = State::Waiting;
    m_attemptAt = atOnce ? now : now + m_patience;
    m_in.clear();
    m_out.clear();
    m_outAt = 0;
    m_nextFrame.reset();
    m_controllers.clear();
    m_relist = false;
    m_frameWanted = false;
}

void OpenRgbClient::handle(short revents, Clock::time_point now) {
    if (m_fd < 0)
        return;
    if (m_state == State::Connecting) {
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(m_fd, SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0)
            drop(nullptr, now);
        else if (revents & POLLOUT)
            connected(now);
        return;
    }
    if (revents & POLLOUT)
        flush(now);
    if (m_fd >= 0 && (revents & (POLLIN | POLLHUP | POLLERR)))
        read(now);
}

void OpenRgbClient::read(Clock::time_point now) {
    uint8_t chunk[64 * 1024];
    for (;;) {
        const ssize_t n = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (n > 0) {
            m_in.insert(m_in.end(), chunk, chunk + n);
            // Whole packets as soon as they are there, so that a header's size
            // is checked before more of its payload is kept.
            size_t at = 0;
            while (m_in.size() - at >= OpenRgbPacket::kHeaderSize) {
                const auto header =
                    OpenRgbPacket::header(std::span(m_in).subspan(at, OpenRgbPacket::kHeaderSize));
                if (!header) {
                    drop("sent what is no OpenRGB packet", now);
                    return;
                }
                if (m_in.size() - at - OpenRgbPacket::kHeaderSize < header->size)
                    break;
                const auto payload =
                    std::span(m_in).subspan(at + OpenRgbPacket::kHeaderSize, header->size);
                packet(header->device, header->id, payload, now);
                if (m_fd < 0)
                    return;
                at += OpenRgbPacket::kHeaderSize + header->size;
            }
            m_in.erase(m_in.begin(), m_in.begin() + static_cast<ptrdiff_t>(at));
            continue;
        }
        if (n == 0)
            drop("closed the connection", now, true);
        else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            drop("lost the connection", now, true);
        return;
    }
}

void OpenRgbClient::packet(uint32_t device, uint32_t id, std::span<const uint8_t> payload,
                           Clock::time_point now) {
    if (id == OpenRgbPacket::kDeviceListUpdated) {
        // Indexes may have moved: no frame until the list is read again.
        if (m_state == State::Ready)
            list(now);
        else
            m_relist = true;
        return;
    }
    if (m_state == State::Version && id == OpenRgbPacket::kRequestProtocolVersion) {
        if (payload.size() != 4 || OpenRgbPacket::u32(payload.data()) == 0) {
            drop("answered the protocol version wrongly", now);
            return;
        }
        m_protocol = std::min(kProtocolVersion, OpenRgbPacket::u32(payload.data()));
        queue(0, OpenRgbPacket::kSetClientName,
              std::span(reinterpret_cast<const uint8_t*>(kClientName), sizeof kClientName), now);
        list(now);
        return;
    }
    if (m_state == State::Count && id == OpenRgbPacket::kRequestControllerCount) {
        if (payload.size() != 4 || OpenRgbPacket::u32(payload.data()) > kMostControllers) {
            drop("sent a wrong controller count", now);
            return;
        }
        m_count = OpenRgbPacket::u32(payload.data());
        m_listing = 0;
    } else if (m_state == State::Data && id == OpenRgbPacket::kRequestControllerData &&
               device == m_listing) {
        const auto description = ControllerDescription::parse(payload, m_protocol);
        if (!description) {
            drop("sent a malformed controller description", now);
            return;
        }
        const bool wanted =
            m_deviceNames.empty()
                ? description->type == ControllerDescription::kKeyboardType
                : std::ranges::find(m_deviceNames, description->name) != m_deviceNames.end();
        if (wanted && description->colours.size() == description->ledNames.size()) {
            Controller controller{m_listing, description->name, {}, description->colours};
            for (size_t i = 0; i < description->ledNames.size(); ++i) {
                int position = KeyLedNames::position(description->ledNames[i]);
                if (position < 0 && i < description->ledAltNames.size())
                    position = KeyLedNames::position(description->ledAltNames[i]);
                controller.positions.push_back(int16_t(position));
            }
            m_controllers.push_back(std::move(controller));
            queue(m_listing, OpenRgbPacket::kSetCustomMode, {}, now);
        }
        ++m_listing;
    } else {
        return;
    }
    if (m_relist) {
        list(now);
    } else if (m_listing < m_count) {
        std::vector<uint8_t> version;
        OpenRgbPacket::putU32(version, m_protocol);
        m_state = State::Data;
        request(m_listing, OpenRgbPacket::kRequestControllerData, version, now);
    } else {
        m_state = State::Ready;
        m_readySince = now;
        m_said.clear();
        m_frameWanted = true;
        std::fprintf(stderr, "vantrel-monitor: OpenRGB at %s: lighting %zu of %u controllers\n",
                     m_endpoint.text.c_str(), m_controllers.size(), m_count);
        flush(now);
    }
}

std::string OpenRgbClient::describe() const {
    std::string text = "OpenRGB at " + m_endpoint.text + ": ";
    if (m_state != State::Ready)
        return text + (m_said.empty() ? "connecting" : m_said);
    text += "protocol " + std::to_string(m_protocol) + ", lighting";
    if (m_controllers.empty())
        text += " no keyboard";
    for (const Controller& c : m_controllers)
        text += " \"" + c.name + "\"";
    return text;
}

void OpenRgbClient::takeAgain(Clock::time_point now) {
    if (m_state == State::Ready)
        list(now);
    else if (m_state == State::Data)
        m_relist = true;
    else if (m_state == State::Waiting)
        m_attemptAt = now;
}

void OpenRgbClient::list(Clock::time_point now) {
    m_relist = false;
    m_controllers.clear();
    m_nextFrame.reset();
    m_count = 0;
    m_state = State::Count;
    request(0, OpenRgbPacket::kRequestControllerCount, {}, now);
}

void OpenRgbClient::queue(uint32_t device, uint32_t id, std::span<const uint8_t> payload,
                          Clock::time_point now) {
    if (unsentBytes() == 0)
        m_lastProgress = now;
    OpenRgbPacket::append(m_out, device, id, payload);
}

void OpenRgbClient::request(uint32_t device, uint32_t id, std::span<const uint8_t> payload,
                            Clock::time_point now) {
    queue(device, id, payload, now);
    m_waitingSince = now;
    flush(now);
}

void OpenRgbClient::sendFrame(const Frame& frame, Clock::time_point now) {
    if (m_state != State::Ready)
        return;
    if (unsentBytes() > 0) {
        m_nextFrame = frame;
        return;
    }
    m_lastProgress = now;
    appendFrame(frame);
    flush(now);
}

void OpenRgbClient::appendFrame(const Frame& frame) {
    for (Controller& controller : m_controllers) {
        for (size_t i = 0; i < controller.positions.size(); ++i) {
            if (controller.positions[i] >= 0)
                controller.colours[i] = frame[size_t(controller.positions[i])];
        }
        OpenRgbPacket::appendUpdateLeds(m_out, controller.index, controller.colours);
    }
}

void OpenRgbClient::flush(Clock::time_point now) {
    while (m_fd >= 0 && unsentBytes() > 0) {
        const ssize_t n =
            ::send(m_fd, m_out.data() + m_outAt, unsentBytes(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                drop("lost the connection", now, true);
            return;
        }
        m_outAt += size_t(n);
        m_lastProgress = now;
        if (unsentBytes() == 0) {
            m_out.clear();
            m_outAt = 0;
            if (m_nextFrame && m_state == State::Ready) {
                appendFrame(*m_nextFrame);
                m_nextFrame.reset();
            }
        }
    }
}

void OpenRgbClient::advance(Clock::time_point now) {
    if (m_state == State::Waiting) {
        if (now >= m_attemptAt)
            connect(now);
        return;
    }
    if (m_state != State::Ready && now - m_waitingSince >= m_patience)
        drop(m_state == State::Connecting ? nullptr : "did not answer", now);
    else if (unsentBytes() > 0 && now - m_lastProgress >= m_patience)
        drop("stopped reading", now);
}

std::optional<OpenRgbClient::Clock::time_point> OpenRgbClient::nextDue() const {
    if (m_state == State::Waiting)
        return m_attemptAt;
    std::optional<Clock::time_point> due;
    if (m_state != State::Ready)
        due = m_waitingSince + m_patience;
    if (unsentBytes() > 0)
        due = std::min(due.value_or(Clock::time_point::max()), m_lastProgress + m_patience);
    return due;
}

} // namespace vantrel
