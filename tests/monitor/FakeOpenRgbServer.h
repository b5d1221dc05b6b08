#pragma once

#include "monitor/lighting/OpenRgbPacket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstring>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vantrel::test {

// A stand-in for OpenRGB's SDK server on 127.0.0.1, serving one client at a
// time in a thread of its own and keeping every packet the client sent.
class FakeOpenRgbServer {
public:
    struct Controller {
        int32_t type;
        std::string name;
        std::vector<std::string> leds;
        std::vector<uint32_t> colours;
        std::vector<std::string> altNames; // sent from version 5 on
    };
    struct Packet {
        uint32_t device, id;
        std::vector<uint8_t> payload;
    };

    // The description as OpenRGB lays it out for the version: one mode, one
    // zone with a one-row matrix and (from version 4) one segment.
    static std::vector<uint8_t> describe(const Controller& c, uint32_t version) {
        std::vector<uint8_t> d(4);
        auto u16 = [&](size_t v) { d.insert(d.end(), {uint8_t(v), uint8_t(v >> 8)}); };
        auto u32 = [&](uint32_t v) { OpenRgbPacket::putU32(d, v); };
        auto text = [&](const std::string& s) {
            u16(s.size() + 1);
            d.insert(d.end(), s.begin(), s.end());
            d.push_back(0);
        };
        const auto n = uint32_t(c.leds.size());
        u32(uint32_t(c.type));
        text(c.name);
        for (const char* s : {"V", "D", "1", "", "L"})
            text(s);
        u16(1); // modes
        u32(0); // active mode
        text("Direct");
        for (int i = 0; i < (version >= 3 ? 12 : 9); ++i)
            u32(uint32_t(i));
        u16(1);
        u32(0x123456);
        u16(1); // zones
        text("Keyboard");
        for (uint32_t v : {2u, n, n, n})
            u32(v);
        u16(8 + 4 * n);
        u32(1);
        u32(n);
        for (uint32_t i = 0; i < n; ++i)
            u32(i);
        if (version >= 4) {
            u16(1);
            text("All");
            for (uint32_t v : {0u, 0u, n})
                u32(v);
        }
        if (version >= 5)
            u32(0);
        u16(n);
        for (uint32_t i = 0; i < n; ++i) {
            text(c.leds[i]);
            u32(i);
        }
        u16(c.colours.size());
        for (uint32_t colour : c.colours)
            u32(colour);
        if (version >= 5) {
            u16(c.altNames.size());
            for (const std::string& name : c.altNames)
                text(name);
            u32(0);
        }
        const auto size = uint32_t(d.size());
        std::memcpy(d.data(), &size, 4);
        return d;
    }

    FakeOpenRgbServer(uint32_t version, std::vector<Controller> controllers, uint16_t port = 0)
        : m_version(version), m_controllers(std::move(controllers)) {
        m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        // A small buffer, so that not reading soon stops the client.
        const int small = 4096;
        ::setsockopt(m_listener, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
        sockaddr_in address{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
        ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listener, 4);
        socklen_t length = sizeof address;
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~FakeOpenRgbServer() {
        const uint64_t one = 1;
        (void)!::write(m_wake, &one, sizeof one);
        m_thread.join();
        for (int fd : {m_client.load(), m_listener, m_wake})
            ::close(fd);
    }

    std::string address() const { return "127.0.0.1:" + std::to_string(m_port); }
    uint16_t port() const { return m_port; }
    int connections() const { return m_connections; }
    // The packets of one id the client sent, in order.
    std::vector<Packet> received(uint32_t id) {
        std::lock_guard lock(m_mutex);
        std::vector<Packet> of;
        std::ranges::copy_if(m_received, std::back_inserter(of),
                             [&](auto& p) { return p.id == id; });
        return of;
    }
    void stopReading(bool stop) { m_stopReading = stop; }
    // Sends bytes as they are to the client.
    void send(const std::vector<uint8_t>& bytes) {
        std::lock_guard lock(m_mutex);
        (void)!::send(m_client, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    // The new list, and DEVICE_LIST_UPDATED.
    void changeControllers(std::vector<Controller> controllers) {
        std::vector<uint8_t> notice;
        OpenRgbPacket::append(notice, 0, OpenRgbPacket::kDeviceListUpdated);
        {
            std::lock_guard lock(m_mutex);
            m_controllers = std::move(controllers);
        }
        send(notice);
    }

private:
    void serve() {
        std::vector<uint8_t> in;
        for (;;) {
            pollfd fds[3] = {{m_wake, POLLIN, 0}, {m_listener, POLLIN, 0}, {m_client, 0, 0}};
            if (!m_stopReading)
                fds[2].events = POLLIN;
            ::poll(fds, 3, 20);
            if (fds[0].revents)
                return;
            if (fds[1].revents) {
                const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
                std::lock_guard lock(m_mutex);
                ::close(m_client.exchange(client));
                ++m_connections;
                in.clear();
            }
            if (!fds[2].revents)
                continue;
            uint8_t chunk[65536];
            const ssize_t n = ::recv(m_client, chunk, sizeof chunk, 0);
            if (n <= 0) {
                std::lock_guard lock(m_mutex);
                ::close(m_client.exchange(-1));
                continue;
            }
            in.insert(in.end(), chunk, chunk + n);
            while (in.size() >= 16 && in.size() >= 16 + OpenRgbPacket::u32(&in[12])) {
                Packet p{OpenRgbPacket::u32(&in[4]), OpenRgbPacket::u32(&in[8]), {}};
                p.payload.assign(in.begin() + 16, in.begin() + 16 + OpenRgbPacket::u32(&in[12]));
                in.erase(in.begin(), in.begin() + 16 + long(p.payload.size()));
                answer(p);
            }
        }
    }
    void answer(const Packet& p) {
        std::lock_guard lock(m_mutex);
        m_received.push_back(p);
        std::vector<uint8_t> reply, payload;
        if (p.id == OpenRgbPacket::kRequestProtocolVersion) {
            OpenRgbPacket::putU32(payload, m_version);
        } else if (p.id == OpenRgbPacket::kRequestControllerCount) {
            OpenRgbPacket::putU32(payload, uint32_t(m_controllers.size()));
        } else if (p.id == OpenRgbPacket::kRequestControllerData &&
                   p.device < m_controllers.size() && p.payload.size() == 4) {
            payload = describe(m_controllers[p.device], OpenRgbPacket::u32(p.payload.data()));
        } else {
            return;
        }
        OpenRgbPacket::append(reply, p.device, p.id, payload);
        (void)!::send(m_client, reply.data(), reply.size(), MSG_NOSIGNAL);
    }

    uint32_t m_version;
    std::vector<Controller> m_controllers;
    int m_listener;
    int m_wake = ::eventfd(0, EFD_CLOEXEC);
    std::atomic<int> m_client = -1;
    std::atomic<int> m_connections = 0;
    std::atomic<bool> m_stopReading = false;
    uint16_t m_port = 0;
    std::mutex m_mutex;
    std::vector<Packet> m_received;
    std::thread m_thread;
};

} // namespace vantrel::test
