#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel {

// One run of pixels of one row: (left, top) to (right, top + 1), right exclusive.
struct RunRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    friend bool operator==(const RunRect&, const RunRect&) = default;
};

struct Rgb {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// Window outlines from pictures, on raw 32-bit pixels (0xAARRGGBB words, rows
// top first, bytesPerLine apart; the alpha byte is not looked at). The result
// is the union of one-pixel-high runs, row by row, left to right.
class MaskRuns final {
public:
    // Outlines are handed to the toolkit at most this many rectangles at a time.
    static constexpr size_t kMaxRectsPerRegion = 2000;

    // Runs of the pixels that are not transparent: a pixel is transparent when
    // each channel lies in [transparent, transparent + tolerance] (capped at 255).
    static std::vector<RunRect> opaqueRuns(const uint8_t* bits, int width, int height,
                                           size_t bytesPerLine, Rgb transparent, Rgb tolerance);
    // Runs of the pixels that have exactly the key colour.
    static std::vector<RunRect> keyColourRuns(const uint8_t* bits, int width, int height,
                                              size_t bytesPerLine, Rgb key);
};

} // namespace vantrel
