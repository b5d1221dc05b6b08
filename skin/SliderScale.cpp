#include "skin/SliderScale.h"

#include <algorithm>
#include <cmath>

namespace vantrel {

int32_t SliderScale::clampUnsigned(int32_t value) const {
    const auto u = static_cast<uint32_t>(value);
    if (u < static_cast<uint32_t>(minimum))
        return minimum;
    if (u > static_cast<uint32_t>(maximum))
        return maximum;
    return value;
}

int32_t SliderScale::thumbLeft(int32_t value, int32_t span) const {
    const uint32_t range = static_cast<uint32_t>(maximum) - static_cast<uint32_t>(minimum);
    if (span <= 0 || range == 0)
        return 0;
    const uint32_t offset = static_cast<uint32_t>(value) - static_cast<uint32_t>(minimum);
    // 64 bits keep the product exact; the quotient never passes span for a clamped value.
    const uint64_t left = uint64_t{static_cast<uint32_t>(span)} * offset / range;
    return static_cast<int32_t>(std::min<uint64_t>(left, static_cast<uint32_t>(span)));
}

double SliderScale::clickValue(int32_t x, int32_t trackWidth) const {
    if (trackWidth <= 0)
        return minimum;
    return static_cast<double>(x) * (static_cast<double>(maximum) - minimum) / trackWidth + minimum;
}

int32_t SliderScale::dragValue(int32_t left, int32_t span) const {
    if (span <= 0)
        return minimum;
    const int64_t value = minimum + int64_t{left} * (int64_t{maximum} - minimum) / span;
    return static_cast<int32_t>(std::clamp<int64_t>(value, minimum, std::max(minimum, maximum)));
}

double SliderScale::releaseValue(int32_t left, int32_t span) const {
    if (span <= 0)
        return minimum;
    return minimum + (static_cast<double>(maximum) - minimum) * left / span;
}

int32_t SliderScale::settle(double value) const {
    if (std::isnan(value))
        return minimum;
    const double whole = std::trunc(rounding ? value + 0.5 : value);
    // Clamped before the conversion, which is undefined for values out of range.
    const double top = std::max(minimum, maximum);
    return static_cast<int32_t>(std::clamp(whole, static_cast<double>(minimum), top));
}

} // namespace vantrel
