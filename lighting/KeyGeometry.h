#pragma once

#include "settings/ProfileRecord.h"

#include <array>

namespace vantrel {

// Where each key position lies on the keyboard picture of the shipped skin,
// taken from its description at build time.
class KeyGeometry final {
public:
    struct Rect {
        int x, y, width, height;
        constexpr bool empty() const { return width <= 0 || height <= 0; }
    };
    // A key's centre across the keyboard, 0..1 from left to right and from
    // top to bottom; positions without a key lie at the middle.
    struct Place {
        double x, y;
    };

    static const std::array<Rect, kKeyPositions>& rects();
    static const std::array<Place, kKeyPositions>& places();
    // The height of the keys' area over its width, so that circles stay round.
    static double aspect();
};

} // namespace vantrel
