#include "skin/ProgramPictures.h"
#include "skin/SkinImage.h"

#include <gtest/gtest.h>

using namespace vantrel;

namespace {

QImage resource(const char* path) {
    return QImage(QString::fromLatin1(path)).convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ProgramPictures, HaveTheSizesTheControlsExpect) {
    const std::pair<const char*, QSize> sizes[] = {
        {ProgramPictures::kEnterKeyMask, {63, 26}},    {ProgramPictures::kSpectrum, {252, 76}},
        {ProgramPictures::kMarker, {13, 13}},          {ProgramPictures::kSwatchFace, {49, 49}},
        {ProgramPictures::kSwatchMask, {49, 49}},      {ProgramPictures::kPauseIcon, {15, 15}},
        {ProgramPictures::kKeyReleaseIcon, {11, 14}},  {ProgramPictures::kKeyPressIcon, {11, 14}},
        {ProgramPictures::kMouseButtonIcon, {16, 18}},
    };
    for (const auto& [path, size] : sizes)
        EXPECT_EQ(resource(path).size(), size) << path;
    EXPECT_FALSE(resource(ProgramPictures::kMenuArrow).isNull());
    EXPECT_FALSE(resource(ProgramPictures::kProgramIcon).isNull());
}

TEST(ProgramPictures, OutlinesAndSeeThroughColoursAreWhereTheControlsLookForThem) {
    // The Enter key and the swatch take their shapes from white-outside masks.
    const std::optional<QRegion> enter =
        regionFromMask(SkinImage(resource(ProgramPictures::kEnterKeyMask)));
    ASSERT_TRUE(enter.has_value());
    EXPECT_FALSE(enter->contains(QPoint(0, 0)));
    EXPECT_TRUE(enter->contains(QPoint(31, 13)));
    const std::optional<QRegion> swatch =
        regionFromMask(SkinImage(resource(ProgramPictures::kSwatchMask)));
    ASSERT_TRUE(swatch.has_value());
    EXPECT_FALSE(swatch->contains(QPoint(2, 2)));
    EXPECT_TRUE(swatch->contains(QPoint(24, 24)));

    // The spectrum: a white border that is never picked, and the pure colours inside.
    const QImage spectrum = resource(ProgramPictures::kSpectrum);
    EXPECT_EQ(spectrum.pixel(5, 40), qRgb(255, 255, 255));
    EXPECT_EQ(spectrum.pixel(246, 40), qRgb(255, 255, 255));
    bool pureRed = false;
    for (int y = 6; y <= 69; ++y)
        for (int x = 6; x <= 245; ++x) {
            EXPECT_NE(spectrum.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
            pureRed = pureRed || spectrum.pixel(x, y) == qRgb(255, 0, 0);
        }
    EXPECT_TRUE(pureRed);

    // The marker is seen through on magenta; the list icons on black.
    EXPECT_EQ(resource(ProgramPictures::kMarker).pixel(0, 0), qRgb(255, 0, 255));
    for (const char* icon : {ProgramPictures::kPauseIcon, ProgramPictures::kKeyReleaseIcon,
                             ProgramPictures::kKeyPressIcon, ProgramPictures::kMouseButtonIcon}) {
        const QImage image = resource(icon);
        EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0)) << icon;
        EXPECT_NE(image, QImage(image.size(), QImage::Format_RGB32)) << icon;
    }
}
