// The 24-byte message decoder on datagrams of any size: only 24 bytes decode,
// and what decodes encodes back to the same fields.
#include "link/LinkMessage.h"

#include <cstdlib>
#include <cstring>

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::optional<LinkMessage> message = LinkMessage::decode(data, size);
    if (message.has_value() != (size == LinkMessage::kSize))
        std::abort();
    if (!message)
        return 0;
    const auto bytes = message->encode();
    // The padding word is not carried: bytes 4..7 always encode as zero.
    if (std::memcmp(bytes.data(), data, 4) != 0 || std::memcmp(bytes.data() + 8, data + 8, 16) != 0)
        std::abort();
    const std::optional<LinkMessage> again = LinkMessage::decode(bytes.data(), bytes.size());
    if (!again || again->message != message->message || again->wParam != message->wParam ||
        again->lParam != message->lParam)
        std::abort();
    return 0;
}
