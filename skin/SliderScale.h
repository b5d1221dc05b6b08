#pragma once

#include <cstdint>

namespace vantrel {

// The value range of a bitmap slider and how thumb positions and clicks turn
// into values. The thumb's left edge travels from 0 to span (track width less
// thumb width).
struct SliderScale {
    int32_t minimum = 0;
    int32_t maximum = 10;
    // Computed values are rounded to the nearest integer, otherwise cut toward zero.
    bool rounding = false;

    // The clamp of setValue: it compares as unsigned numbers, so a negative
    // value becomes the maximum.
    int32_t clampUnsigned(int32_t value) const;
    // Left edge of the thumb for a value clamped by clampUnsigned, by unsigned
    // division. A range without width or a thumb wider than the track keeps
    // the thumb at the left end.
    int32_t thumbLeft(int32_t value, int32_t span) const;

    // The value of a click at x on a track trackWidth wide, before settle().
    double clickValue(int32_t x, int32_t trackWidth) const;
    // The value of a thumb at left while it is dragged: integer arithmetic, clamped.
    int32_t dragValue(int32_t left, int32_t span) const;
    // The value of a thumb at left when it is let go, before settle().
    double releaseValue(int32_t left, int32_t span) const;

    // Rounds (adding 0.5, then cutting) or cuts toward zero, then clamps.
    int32_t settle(double value) const;
};

} // namespace vantrel
