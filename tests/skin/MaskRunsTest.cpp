#include "skin/MaskRuns.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vantrel;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr Rgb kWhiteRgb{255, 255, 255};
constexpr Rgb kExact{0, 0, 0};

// A picture of 32-bit pixels whose rows may be longer than its width.
struct Picture {
    int width;
    int height;
    int stride; // pixels per row
    std::vector<uint32_t> pixels;

    Picture(int w, int h, uint32_t fill, int padding = 0)
        : width(w), height(h), stride(w + padding),
          pixels(static_cast<size_t>(stride) * static_cast<size_t>(h), fill) {}
    uint32_t& at(int x, int y) {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(stride) +
                      static_cast<size_t>(x)];
    }
    std::vector<RunRect> opaque(Rgb transparent = kWhiteRgb, Rgb tolerance = kExact) const {
        return MaskRuns::opaqueRuns(reinterpret_cast<const uint8_t*>(pixels.data()), width, height,
                                    static_cast<size_t>(stride) * 4, transparent, tolerance);
    }
};

} // namespace

TEST(MaskRuns, AllWhiteGivesNoRunsAndNoWhiteGivesOneRunPerRow) {
    EXPECT_TRUE(Picture(7, 3, kWhite).opaque().empty());

    const std::vector<RunRect> full = Picture(7, 3, kBlack).opaque();
    const std::vector<RunRect> expected{{0, 0, 7, 1}, {0, 1, 7, 2}, {0, 2, 7, 3}};
    EXPECT_EQ(full, expected);
}

TEST(MaskRuns, OnlyExactlyWhiteIsOutsideAndAlphaIsNotLookedAt) {
    Picture p(6, 2, kWhite);
    p.at(1, 0) = 0xFFFEFFFFu; // red 254: inside
    p.at(2, 0) = 0xFFFFFEFFu; // green 254: inside
    p.at(4, 0) = 0xFFFFFFFEu; // blue 254: inside
    p.at(3, 1) = 0x00FFFFFFu; // white with another alpha: still outside
    p.at(5, 1) = 0x12345678u;
    const std::vector<RunRect> expected{{1, 0, 3, 1}, {4, 0, 5, 1}, {5, 1, 6, 2}};
    EXPECT_EQ(p.opaque(), expected);

    // The accepted range runs from the colour up by the tolerance, capped at 255.
    const std::vector<RunRect> tolerant{{5, 1, 6, 2}};
    EXPECT_EQ(p.opaque(Rgb{254, 254, 254}, Rgb{9, 9, 9}), tolerant);
    EXPECT_EQ(p.opaque(kWhiteRgb, Rgb{9, 9, 9}), expected);
}

TEST(MaskRuns, RowsLongerThanTheWidthAreReadByTheirStride) {
    // Width 5 (not a multiple of 4) with three black padding pixels per row
    // that must never become part of the outline.
    Picture p(5, 3, kWhite, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 5; x < 8; ++x)
            p.at(x, y) = kBlack;
    p.at(4, 0) = kBlack;
    p.at(0, 2) = kBlack;
    p.at(1, 2) = kBlack;
    const std::vector<RunRect> expected{{4, 0, 5, 1}, {0, 2, 2, 3}};
    EXPECT_EQ(p.opaque(), expected);
}

TEST(MaskRuns, ManyRunsAreAllKeptInOrder) {
    // Every other pixel black: 51 runs in each of 50 rows, 2,550 in all.
    Picture p(101, 50, kWhite);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 101; x += 2)
            p.at(x, y) = kBlack;
    const std::vector<RunRect> runs = p.opaque();
    ASSERT_EQ(runs.size(), 2550u);
    EXPECT_GT(runs.size(), MaskRuns::kMaxRectsPerRegion);
    for (size_t i = 0; i < runs.size(); ++i) {
        const int y = static_cast<int>(i / 51);
        const int x = static_cast<int>(i % 51) * 2;
        ASSERT_EQ(runs[i], (RunRect{x, y, x + 1, y + 1})) << "run " << i;
    }
}

TEST(MaskRuns, KeyColourRunsTakeOnlyTheExactColour) {
    Picture p(4, 2, 0xFFFF00FFu);
    p.at(1, 0) = 0xFFFE00FFu;
    p.at(2, 1) = 0xFF000000u;
    const std::vector<RunRect> runs = MaskRuns::keyColourRuns(
        reinterpret_cast<const uint8_t*>(p.pixels.data()), 4, 2, 16, Rgb{255, 0, 255});
    const std::vector<RunRect> expected{{0, 0, 1, 1}, {2, 0, 4, 1}, {0, 1, 2, 2}, {3, 1, 4, 2}};
    EXPECT_EQ(runs, expected);
}

TEST(MaskRuns, EmptyPicturesGiveNoRuns) {
    EXPECT_TRUE(MaskRuns::opaqueRuns(nullptr, 4, 4, 16, kWhiteRgb, kExact).empty());
    const uint32_t one = kBlack;
    EXPECT_TRUE(
        MaskRuns::opaqueRuns(reinterpret_cast<const uint8_t*>(&one), 0, 1, 4, kWhiteRgb, kExact)
            .empty());
}
