#include "lighting/KeyGeometry.h"

#include <algorithm>

namespace vantrel {

namespace {

constexpr std::array<KeyGeometry::Rect, kKeyPositions> kRects{{
#include "lighting/KeyRects.inc"
}};

struct Bounds {
    int left = 1 << 30, top = 1 << 30, right = 0, bottom = 0;
    constexpr double width() const { return std::max(1, right - left); }
    constexpr double height() const { return std::max(1, bottom - top); }
};

constexpr Bounds keyBounds() {
    Bounds b;
    for (const KeyGeometry::Rect& r : kRects) {
        if (r.empty())
            continue;
        b.left = std::min(b.left, r.x);
        b.top = std::min(b.top, r.y);
        b.right = std::max(b.right, r.x + r.width);
        b.bottom = std::max(b.bottom, r.y + r.height);
    }
    return b;
}

constexpr Bounds kBounds = keyBounds();

std::array<KeyGeometry::Place, kKeyPositions> makePlaces() {
    const int left = kBounds.left, top = kBounds.top;
    const double width = kBounds.width(), height = kBounds.height();
    std::array<KeyGeometry::Place, kKeyPositions> places{};
    for (size_t k = 0; k < kRects.size(); ++k) {
        const KeyGeometry::Rect& r = kRects[k];
        places[k] = r.empty() ? KeyGeometry::Place{0.5, 0.5}
                              : KeyGeometry::Place{(r.x + r.width / 2.0 - left) / width,
                                                   (r.y + r.height / 2.0 - top) / height};
    }
    return places;
}

} // namespace

const std::array<KeyGeometry::Rect, kKeyPositions>& KeyGeometry::rects() {
    return kRects;
}

double KeyGeometry::aspect() {
    return kBounds.height() / kBounds.width();
}

const std::array<KeyGeometry::Place, kKeyPositions>& KeyGeometry::places() {
    static const std::array<Place, kKeyPositions> places = makePlaces();
    return places;
}

} // namespace vantrel
