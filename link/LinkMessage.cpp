#include "link/LinkMessage.h"

#include <cstring>

namespace vantrel {

// The host is little-endian (checked beside the record layouts), so the fields
// are copied as they are.
std::array<unsigned char, LinkMessage::kSize> LinkMessage::encode() const {
    std::array<unsigned char, kSize> bytes{};
    std::memcpy(bytes.data(), &message, 4);
    std::memcpy(bytes.data() + 8, &wParam, 8);
    std::memcpy(bytes.data() + 16, &lParam, 8);
    return bytes;
}

std::optional<LinkMessage> LinkMessage::decode(const unsigned char* bytes, size_t size) {
    if (size != kSize)
        return std::nullopt;
    LinkMessage m;
    std::memcpy(&m.message, bytes, 4);
    std::memcpy(&m.wParam, bytes + 8, 8);
    std::memcpy(&m.lParam, bytes + 16, 8);
    return m;
}

} // namespace vantrel
