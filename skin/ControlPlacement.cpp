#include "skin/ControlPlacement.h"

#include "settings/TextField.h"

#include <optional>

namespace vantrel {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d": blanks, an optional sign and at least one digit, wrapped to 32 bits.
std::optional<int32_t> scanInt(std::string_view& s) {
    size_t i = 0;
    while (i < s.size() && isSpace(s[i]))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    const size_t firstDigit = i;
    uint32_t value = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        value = value * 10u + static_cast<uint32_t>(s[i] - '0');
    if (i == firstDigit)
        return std::nullopt;
    s.remove_prefix(i);
    return static_cast<int32_t>(negative ? 0u - value : value);
}

int32_t wrappedSum(int32_t a, int32_t b) {
    return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

} // namespace

ControlPlacement parsePlacement(std::string_view value) {
    ControlPlacement p;
    std::string_view rest = value;
    if (const size_t comma = value.find(','); comma != std::string_view::npos) {
        p.name =
            std::string(cutAtCharacter(value.substr(0, comma), ControlPlacement::kMaxNameLength));
        rest = value.substr(comma + 1);
    }

    int32_t numbers[4] = {};
    std::string_view scan = rest;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (scan.empty() || scan.front() != ',')
                break;
            scan.remove_prefix(1);
        }
        const std::optional<int32_t> n = scanInt(scan);
        if (!n)
            break;
        numbers[i] = *n;
    }
    p.left = numbers[0];
    p.top = numbers[1];
    p.right = wrappedSum(numbers[0], numbers[2]);
    p.bottom = wrappedSum(numbers[1], numbers[3]);

    const size_t lastComma = rest.rfind(',');
    const std::string_view text =
        lastComma == std::string_view::npos ? rest : rest.substr(lastComma + 1);
    p.text = std::string(cutAtCharacter(trimmed(text), ControlPlacement::kMaxTextLength));
    return p;
}

} // namespace vantrel
