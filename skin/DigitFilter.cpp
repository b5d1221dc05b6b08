#include "skin/DigitFilter.h"

namespace vantrel {

size_t DigitFilter::keptLength(std::u16string_view text, bool allowSign) {
    const std::u16string_view allowed = allowSign ? u"0123456789-+" : u"0123456789";
    const size_t end = text.find_first_not_of(allowed);
    return end == std::u16string_view::npos ? text.size() : end;
}

} // namespace vantrel
