#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// Where a numbered control of a skinned window sits, read from a value such as
// "BUTTON_OK,67,162,70,30,". Coordinates are pixels of the window's picture.
struct ControlPlacement {
    static constexpr size_t kMaxNameLength = 39;
    static constexpr size_t kMaxTextLength = 399;

    std::string name; // for the skin author only; controls are found by key number
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    std::string text; // hint text shown as the control's tooltip

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
};

// name = before the first comma (empty without one); then up to four integers
// in the manner of "%d,%d,%d,%d" from the rest; text = the rest after its last
// comma, trimmed. Numbers that cannot be read stay 0.
ControlPlacement parsePlacement(std::string_view value);

} // namespace vantrel
