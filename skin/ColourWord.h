#pragma once

#include <QColor>

#include <cstdint>

namespace vantrel {

// A stored colour word 0x00BBGGRR: red in the low byte, then green, then blue.
constexpr QColor colourFromWord(uint32_t word) {
    return QColor(static_cast<int>(word & 0xFF), static_cast<int>((word >> 8) & 0xFF),
                  static_cast<int>((word >> 16) & 0xFF));
}

// The colour word of a pixel; its alpha is dropped.
constexpr uint32_t wordFromRgb(QRgb rgb) {
    return static_cast<uint32_t>(qRed(rgb)) | static_cast<uint32_t>(qGreen(rgb)) << 8 |
           static_cast<uint32_t>(qBlue(rgb)) << 16;
}

} // namespace vantrel
