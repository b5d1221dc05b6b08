#include "skin/MaskRuns.h"

#include <algorithm>
#include <cstring>

namespace vantrel {

namespace {

uint32_t pixelAt(const uint8_t* row, int x) {
    uint32_t p;
    std::memcpy(&p, row + static_cast<size_t>(x) * 4, sizeof p);
    return p;
}

struct ChannelRange {
    uint32_t low;
    uint32_t high;
    bool holds(uint32_t v) const { return v >= low && v <= high; }
};

ChannelRange rangeOf(uint8_t low, uint8_t tolerance) {
    return {low, std::min<uint32_t>(255u, uint32_t{low} + tolerance)};
}

template <typename Inside>
std::vector<RunRect> runs(const uint8_t* bits, int width, int height, size_t bytesPerLine,
                          Inside inside) {
    std::vector<RunRect> out;
    if (!bits || width <= 0 || height <= 0)
        return out;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bits + static_cast<size_t>(y) * bytesPerLine;
        int x = 0;
        while (x < width) {
            while (x < width && !inside(pixelAt(row, x)))
                ++x;
            const int x1 = x;
            while (x < width && inside(pixelAt(row, x)))
                ++x;
            if (x1 < x)
                out.push_back({x1, y, x, y + 1});
        }
    }
    return out;
}

} // namespace

std::vector<RunRect> MaskRuns::opaqueRuns(const uint8_t* bits, int width, int height,
                                          size_t bytesPerLine, Rgb transparent, Rgb tolerance) {
    const ChannelRange r = rangeOf(transparent.red, tolerance.red);
    const ChannelRange g = rangeOf(transparent.green, tolerance.green);
    const ChannelRange b = rangeOf(transparent.blue, tolerance.blue);
    return runs(bits, width, height, bytesPerLine, [&](uint32_t p) {
        return !(r.holds((p >> 16) & 0xFFu) && g.holds((p >> 8) & 0xFFu) && b.holds(p & 0xFFu));
    });
}

std::vector<RunRect> MaskRuns::keyColourRuns(const uint8_t* bits, int width, int height,
                                             size_t bytesPerLine, Rgb key) {
    const uint32_t rgb = (uint32_t{key.red} << 16) | (uint32_t{key.green} << 8) | key.blue;
    return runs(bits, width, height, bytesPerLine,
                [rgb](uint32_t p) { return (p & 0xFFFFFFu) == rgb; });
}

} // namespace vantrel
