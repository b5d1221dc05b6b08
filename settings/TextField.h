#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// The text without the blanks (space, tab, line ends, vertical tab, form feed)
// at either end.
std::string_view trimmed(std::string_view text);
// The number at the start of text as the C library reads it (blanks, one
// sign, digits), held at the limits of int32_t; 0 when there is none.
int32_t leadingNumber(std::string_view text);

// At most maxBytes of the text, never ending inside a UTF-8 sequence.
std::string_view cutAtCharacter(std::string_view text, size_t maxBytes);

// Copies text into a fixed character field: cut to size - 1 bytes, never in the
// middle of a UTF-8 sequence, NUL-terminated and zero-filled.
void copyToField(char* field, size_t size, std::string_view text);

// The text of a field up to its first NUL, or the whole field when it has none.
std::string fieldText(const char* field, size_t size);

template <size_t N> void copyToField(char (&field)[N], std::string_view text) {
    copyToField(field, N, text);
}
template <size_t N> std::string fieldText(const char (&field)[N]) {
    return fieldText(field, N);
}

} // namespace vantrel
