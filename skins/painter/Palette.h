#pragma once

#include <QColor>

#include <cstdint>

namespace vantrel::painter {

// A colour word of the program, 0x00BBGGRR.
constexpr QColor fromColourWord(uint32_t word) {
    return QColor(static_cast<int>(word & 0xFF), static_cast<int>((word >> 8) & 0xFF),
                  static_cast<int>((word >> 16) & 0xFF));
}

// The look of the default skin: dark and quiet, one highlight.
struct Palette {
    static constexpr QColor ground() { return fromColourWord(0x282828); }
    static constexpr QColor groundDeep() { return fromColourWord(0x1E1E1E); }
    static constexpr QColor recess() { return fromColourWord(0x222222); }
    static constexpr QColor line() { return fromColourWord(0x3A3A3A); }
    static constexpr QColor text() { return fromColourWord(0xE6E6E6); }
    static constexpr QColor textDim() { return fromColourWord(0x9A9A9A); }
    static constexpr QColor textDisabled() { return fromColourWord(0x646464); }
    static constexpr QColor selection() { return fromColourWord(0x17184B); }
    static constexpr QColor highlight() { return fromColourWord(0xFFBF44); }
};

} // namespace vantrel::painter
