#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vantrel {

// The framing of OpenRGB's SDK protocol: a 16-byte header ("ORGB", device
// index, packet id, payload size; little-endian) before each payload.
class OpenRgbPacket final {
public:
    static constexpr size_t kHeaderSize = 16;
    // A peer announcing more than this is not an OpenRGB server.
    static constexpr uint32_t kMaxPayload = 8u << 20;

    enum Id : uint32_t {
        kRequestControllerCount = 0,
        kRequestControllerData = 1,
        kRequestProtocolVersion = 40,
        kSetClientName = 50,
        kDeviceListUpdated = 100,
        kUpdateLeds = 1050,
        kSetCustomMode = 1100,
    };

    struct Header {
        uint32_t device;
        uint32_t id;
        uint32_t size;
    };

    // The header at the start of bytes (at least kHeaderSize of them); none
    // without the magic or with a payload beyond kMaxPayload.
    static std::optional<Header> header(std::span<const uint8_t> bytes);
    // Appends one whole packet to out.
    static void append(std::vector<uint8_t>& out, uint32_t device, uint32_t id,
                       std::span<const uint8_t> payload = {});
    // UPDATELEDS: its payload repeats its own size, then the colour count and
    // the colours (0x00BBGGRR words).
    static void appendUpdateLeds(std::vector<uint8_t>& out, uint32_t device,
                                 std::span<const uint32_t> colours);

    static uint32_t u32(const uint8_t* p) {
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    static void putU32(std::vector<uint8_t>& out, uint32_t v) {
        out.insert(out.end(), {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)});
    }
};

} // namespace vantrel
