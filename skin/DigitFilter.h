#pragma once

#include <cstddef>
#include <string_view>

namespace vantrel {

// The text filter of a digits-only edit box.
class DigitFilter final {
public:
    // Length of the longest leading part of text made only of digits, and of
    // "-" and "+" as well when allowSign is set.
    static size_t keptLength(std::u16string_view text, bool allowSign);
};

} // namespace vantrel
