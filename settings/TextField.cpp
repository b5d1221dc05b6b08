#include "settings/TextField.h"

#include <cstring>

namespace vantrel {

void copyToField(char* field, size_t size, std::string_view text) {
    if (size == 0)
        return;
    size_t length = text.substr(0, text.find('\0')).size();
    if (length > size - 1) {
        length = size - 1;
        // Step back over continuation bytes so a multi-byte character is not split.
        size_t back = 0;
        while (length > 0 && back < 3 &&
               (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) {
            --length;
            ++back;
        }
    }
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, size - length);
}

std::string fieldText(const char* field, size_t size) {
    const void* nul = std::memchr(field, 0, size);
    return std::string(field,
                       nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : size);
}

} // namespace vantrel
