#include "lighting/ValueBoxScale.h"

#include "settings/TextField.h"

#include <algorithm>

namespace vantrel {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Digits, and only the first sign met.
std::string filtered(std::string_view text) {
    std::string kept;
    bool signSeen = false;
    for (const char c : text) {
        const bool sign = c == '-' || c == '+';
        if (isDigit(c) || (sign && !signSeen))
            kept += c;
        signSeen = signSeen || sign;
    }
    return kept;
}

} // namespace

int32_t ValueBoxScale::rounded(int32_t a) const {
    // 64 bits, so that rounding near the limits cannot overflow.
    int64_t b = a;
    if (step != 0)
        b = int64_t{step} * ((b + step / 2) / step);
    b = std::max<int64_t>(std::min<int64_t>(b, maximum), minimum);
    return static_cast<int32_t>(b);
}

ValueBoxScale::EnterOutcome ValueBoxScale::afterEnter(std::string_view text,
                                                      int32_t previous) const {
    // Leading zeros (and whatever else comes before a sign or another digit) go.
    if (const size_t first = text.find_first_of("-+123456789"); first != std::string_view::npos)
        text.remove_prefix(first);
    const int32_t c = std::max(std::min(leadingNumber(text), maximum), minimum);
    const std::string previousText = std::to_string(previous);
    // A range whose maximum lies below its minimum tells the owner nothing.
    return {.value = c,
            .rewrite = previousText != std::to_string(c) || previousText != filtered(text),
            .notify = maximum >= minimum};
}

int ValueBoxScale::characterLimit() const {
    return static_cast<int>(std::to_string(maximum).size()) + (allowsSign() ? 1 : 0);
}

} // namespace vantrel
