#include "monitor/lighting/OpenRgbPacket.h"

#include <cstring>

namespace vantrel {

namespace {
constexpr char kMagic[4] = {'O', 'R', 'G', 'B'};
}

std::optional<OpenRgbPacket::Header> OpenRgbPacket::header(std::span<const uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0)
        return std::nullopt;
    const Header h{u32(&bytes[4]), u32(&bytes[8]), u32(&bytes[12])};
    if (h.size > kMaxPayload)
        return std::nullopt;
    return h;
}

void OpenRgbPacket::append(std::vector<uint8_t>& out, uint32_t device, uint32_t id,
                           std::span<const uint8_t> payload) {
    out.insert(out.end(), std::begin(kMagic), std::end(kMagic));
    putU32(out, device);
    putU32(out, id);
    putU32(out, uint32_t(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
}

void OpenRgbPacket::appendUpdateLeds(std::vector<uint8_t>& out, uint32_t device,
                                     std::span<const uint32_t> colours) {
    // Newer servers drop a client whose size field differs from the header's.
    const auto size = uint32_t(4 + 2 + 4 * colours.size());
    out.insert(out.end(), std::begin(kMagic), std::end(kMagic));
    putU32(out, device);
    putU32(out, kUpdateLeds);
    putU32(out, size);
    putU32(out, size);
    out.push_back(uint8_t(colours.size()));
    out.push_back(uint8_t(colours.size() >> 8));
    for (const uint32_t colour : colours)
        putU32(out, colour);
}

} // namespace vantrel
