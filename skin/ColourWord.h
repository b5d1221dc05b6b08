#pragma once

#include <QColor>

#include <cstdint>

namespace vantrel {

// A stored colour word 0x00BBGGRR: red in the low byte, then green, then blue.
constexpr QColor colourFromWord(uint32_t word) {
    return QColor(static_cast<int>(word & 0xFF), static_cast<int>((word >> 8) & 0xFF),
                  static_cast<int>((word >> 16) & 0xFF));
}

} // namespace vantrel
