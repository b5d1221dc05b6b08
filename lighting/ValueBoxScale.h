#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vantrel {

// The arithmetic of a colour value box: its range and step, what its two
// validations make of the text typed into it, and how much text it takes.
struct ValueBoxScale {
    int32_t minimum = 0;
    int32_t maximum = 10;
    int32_t step = 1;

    // What the box does with its text when Enter is released in it.
    struct EnterOutcome {
        int32_t value = 0;
        // The text is replaced by the value's digits.
        bool rewrite = false;
        // The value is told to the owner.
        bool notify = false;
    };

    // After a change of the text or a focus loss: a rounded to the nearest
    // multiple of step, then held within the range (the minimum wins over a
    // maximum below it). A step of 0 leaves a unrounded.
    int32_t rounded(int32_t a) const;

    // After Enter: the number of text from its first sign or non-zero digit
    // on, held within the range; the text is rewritten unless it and the
    // previous value both read as that number.
    EnterOutcome afterEnter(std::string_view text, int32_t previous) const;

    // Characters the box's edit takes: those of the maximum, and one more for
    // a sign when the minimum is negative.
    int characterLimit() const;
    bool allowsSign() const { return minimum < 0; }
};

} // namespace vantrel
