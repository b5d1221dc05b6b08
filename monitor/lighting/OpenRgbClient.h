#pragma once

#include "settings/ProfileRecord.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <sys/socket.h>
#include <utility>
#include <vector>

namespace vantrel {

// A client of OpenRGB's SDK server on a non-blocking TCP socket, driven by
// the monitor's loop: it connects, negotiates the protocol, names itself,
// takes the keyboard controllers (or the named ones) into their custom mode
// and sends them frames of the 128 key positions' colours. It never waits:
// a frame the socket cannot take is replaced by the next one, and a server
// that sends what it should not, or stops reading or answering, is dropped
// and tried again later.
class OpenRgbClient final {
public:
    using Clock = std::chrono::steady_clock;
    using Frame = std::array<uint32_t, kKeyPositions>;
    static constexpr uint32_t kProtocolVersion = 5;

    struct Endpoint {
        sockaddr_storage address{};
        socklen_t length = 0;
        std::string text; // HOST:PORT as given
    };
    // HOST:PORT (a name is looked up once, now); none with whyNot set when
    // it does not name an address.
    static std::optional<Endpoint> resolve(const std::string& hostPort, std::string& whyNot);

    // patience: the wait before another attempt, and the longest wait for an
    // answer or for the server to read.
    OpenRgbClient(Endpoint endpoint, std::vector<std::string> deviceNames,
                  std::chrono::milliseconds patience = std::chrono::seconds(5));
    ~OpenRgbClient();
    OpenRgbClient(const OpenRgbClient&) = delete;
    OpenRgbClient& operator=(const OpenRgbClient&) = delete;

    // The socket and the poll events it waits for; -1 while not connected.
    int fd() const { return m_fd; }
    short events() const;
    // Handles what poll found on the socket.
    void handle(short revents, Clock::time_point now);
    // Connects when it is time, drops a server that kept it waiting too long.
    void advance(Clock::time_point now);
    // When advance has something to do next.
    std::optional<Clock::time_point> nextDue() const;

    // The controllers are taken and take frames.
    bool ready() const { return m_state == State::Ready; }
    // True once after every listing of the controllers: they need the current frame.
    bool takeFrameWanted() { return std::exchange(m_frameWanted, false); }
    void sendFrame(const Frame& frame, Clock::time_point now);
    // After resume the keyboards may have lost their mode and the server its
    // connection: the controllers are taken again (a lost server is tried at once).
    void takeAgain(Clock::time_point now);

    uint32_t protocolVersion() const { return m_protocol; }
    // Where it connects and what it lights, for the monitor's status.
    std::string describe() const;
    size_t controllerCount() const { return m_controllers.size(); }
    // Bytes written into the client and not yet taken by the socket.
    size_t unsentBytes() const { return m_out.size() - m_outAt; }

private:
    enum class State { Waiting, Connecting, Version, Count, Data, Ready };
    struct Controller {
        uint32_t index;
        std::string name;
        std::vector<int16_t> positions; // per LED, -1 for LEDs no key stands for
        std::vector<uint32_t> colours;  // as reported, then the frame's
    };

    void connect(Clock::time_point now);
    void connected(Clock::time_point now);
    // lost: the connection ended, rather than failed.
    void drop(const char* why, Clock::time_point now, bool lost = false);
    void read(Clock::time_point now);
    // May drop the connection.
    void packet(uint32_t device, uint32_t id, std::span<const uint8_t> payload,
                Clock::time_point now);
    void list(Clock::time_point now);
    void queue(uint32_t device, uint32_t id, std::span<const uint8_t> payload,
               Clock::time_point now);
    // Queues the packet and waits for its answer.
    void request(uint32_t device, uint32_t id, std::span<const uint8_t> payload,
                 Clock::time_point now);
    void appendFrame(const Frame& frame);
    void flush(Clock::time_point now);

    Endpoint m_endpoint;
    std::vector<std::string> m_deviceNames;
    std::chrono::milliseconds m_patience;
    int m_fd = -1;
    State m_state = State::Waiting;
    Clock::time_point m_attemptAt{};
    Clock::time_point m_waitingSince{}; // for an answer
    Clock::time_point m_lastProgress{}; // of the writes
    Clock::time_point m_readySince{};
    std::string m_said; // the last failure told
    uint32_t m_protocol = 0;
    uint32_t m_count = 0;
    uint32_t m_listing = 0; // the controller asked for
    bool m_relist = false;
    bool m_frameWanted = false;
    std::vector<Controller> m_controllers;
    std::vector<uint8_t> m_in;
    std::vector<uint8_t> m_out;
    size_t m_outAt = 0;
    std::optional<Frame> m_nextFrame;
};

} // namespace vantrel
