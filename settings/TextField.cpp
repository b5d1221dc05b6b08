#include "settings/TextField.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vantrel {

namespace {

constexpr std::string_view kBlanks = " \t\r\n\v\f";

} // namespace

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

int32_t leadingNumber(std::string_view text) {
    constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
    size_t i = std::min(text.find_first_not_of(kBlanks), text.size());
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    // Counting past the limit stops there: a long row of digits reads as the limit.
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), kMax + 1);
    return static_cast<int32_t>(std::clamp(negative ? -magnitude : magnitude, kMin, kMax));
}

std::string_view cutAtCharacter(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes)
        return text;
    // Step back over at most three continuation bytes: a longer run is no
    // UTF-8 and is cut where it stands.
    size_t length = maxBytes;
    for (size_t back = 0;
         length > 0 && back < 3 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80;
         ++back)
        --length;
    return text.substr(0, length);
}

void copyToField(char* field, size_t size, std::string_view text) {
    if (size == 0)
        return;
    const std::string_view kept = cutAtCharacter(text.substr(0, text.find('\0')), size - 1);
    std::memcpy(field, kept.data(), kept.size());
    std::memset(field + kept.size(), 0, size - kept.size());
}

std::string fieldText(const char* field, size_t size) {
    const void* nul = std::memchr(field, 0, size);
    return std::string(field,
                       nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : size);
}

} // namespace vantrel
