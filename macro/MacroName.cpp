#include "macro/MacroName.h"

#include "settings/MacroKeyInfo.h"
#include "settings/TextField.h"

#include <locale.h>
#include <wctype.h>

namespace vantrel {

namespace {

// The case tables of the C.UTF-8 locale, whatever locale the process runs in.
locale_t unicodeLocale() {
    static const locale_t locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    return locale;
}

// The next character of s as a code point, or the byte itself with a mark bit
// when s does not start with a well-formed UTF-8 sequence.
char32_t nextCharacter(std::string_view& s) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        length = 1;
        c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
    }
    bool wellFormed = length > 0 && length <= s.size();
    for (size_t i = 1; wellFormed && i < length; ++i) {
        wellFormed = (byte(i) & 0xC0u) == 0x80u;
        c = (c << 6) | (byte(i) & 0x3Fu);
    }
    constexpr char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (!wellFormed || c < minimum[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        s.remove_prefix(1);
        return 0x80000000u | lead;
    }
    s.remove_prefix(length);
    return c;
}

char32_t folded(char32_t c) {
    if (c & 0x80000000u)
        return c;
    if (const locale_t locale = unicodeLocale())
        return static_cast<char32_t>(::towlower_l(static_cast<wint_t>(c), locale));
    return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c;
}

} // namespace

bool sameMacroName(std::string_view a, std::string_view b) {
    a = trimmed(a);
    b = trimmed(b);
    while (!a.empty() && !b.empty()) {
        if (folded(nextCharacter(a)) != folded(nextCharacter(b)))
            return false;
    }
    return a.empty() && b.empty();
}

std::string macroNameInKey(std::string_view name) {
    char field[sizeof(MacroKeyInfo::macroName)];
    copyToField(field, name);
    return fieldText(field);
}

} // namespace vantrel
