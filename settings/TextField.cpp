#include "settings/TextField.h"

#include <cstring>

namespace vantrel {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n\v\f";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
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
