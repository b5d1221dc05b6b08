#include "skin/SkinImage.h"
#include "tests/TempDir.h"
#include "tests/skin/SkinFixture.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace vantrel;
using namespace vantrel::test;

namespace {

QByteArray encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

void writeBytes(const std::string& path, const QByteArray& bytes) {
    writeFile(path, std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace

TEST(LoadPicture, ReadsJpegBmpAndPngByContent) {
    TempDir dir;
    const QImage picture = statePicture(QSize(30, 20), State::Over);
    writeBytes(dir.file("a.jpg"), encoded(picture, "JPEG"));
    writeBytes(dir.file("b.bmp"), encoded(picture, "BMP"));
    // The name does not decide the format.
    writeBytes(dir.file("c.jpg"), encoded(picture, "PNG"));

    EXPECT_EQ(loadPicture(dir.file("a.jpg")).size(), QSize(30, 20));
    EXPECT_EQ(loadPicture(dir.file("b.bmp")).image(), picture);
    EXPECT_EQ(loadPicture(dir.file("c.jpg")).image(), picture);
}

TEST(LoadPicture, MissingEmptyTruncatedOrGarbledFilesGiveAnEmptyPicture) {
    TempDir dir;
    const QByteArray jpeg = encoded(statePicture(QSize(64, 64), State::Down), "JPEG");
    writeBytes(dir.file("cut.jpg"), jpeg.left(jpeg.size() * 2 / 3));
    writeFile(dir.file("empty.jpg"), "");
    writeFile(dir.file("text.bmp"), "not a picture at all");

    for (const char* name : {"cut.jpg", "empty.jpg", "text.bmp", "missing.jpg"}) {
        const SkinImage image = loadPicture(dir.file(name));
        EXPECT_TRUE(image.isEmpty()) << name;
        EXPECT_EQ(image.size(), QSize(0, 0)) << name;
    }
    EXPECT_TRUE(loadPicture("").isEmpty());
}

TEST(LoadBitmapFile, AcceptsBmpOnly) {
    TempDir dir;
    const QImage picture = statePicture(QSize(13, 7), State::Normal);
    writeBytes(dir.file("thumb.bmp"), encoded(picture, "BMP"));
    writeBytes(dir.file("png.bmp"), encoded(picture, "PNG"));

    const std::optional<QImage> thumb = loadBitmapFile(dir.file("thumb.bmp"));
    ASSERT_TRUE(thumb.has_value());
    EXPECT_EQ(*thumb, picture);
    EXPECT_FALSE(loadBitmapFile(dir.file("png.bmp")).has_value());
    EXPECT_FALSE(loadBitmapFile(dir.file("missing.bmp")).has_value());
}

TEST(CutPicture, CopiesTheRectangleOneToOne) {
    const SkinImage source(statePicture(QSize(50, 40), State::Down));
    const SkinImage cut = cutPicture(source, QRect(7, 9, 11, 5));
    ASSERT_EQ(cut.size(), QSize(11, 5));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 11; ++x)
            ASSERT_EQ(cut.image().pixel(x, y), qRgb(7 + x, 9 + y, 160));
    EXPECT_TRUE(cutPicture(SkinImage(), QRect(0, 0, 5, 5)).isEmpty());
}

TEST(RegionFromMask, WhiteIsOutsideEverythingElseInside) {
    // An empty mask gives nothing: the window keeps its rectangle.
    EXPECT_FALSE(regionFromMask(SkinImage()).has_value());

    QImage white(9, 5, QImage::Format_RGB32);
    white.fill(Qt::white);
    const std::optional<QRegion> none = regionFromMask(SkinImage(white));
    ASSERT_TRUE(none.has_value());
    EXPECT_TRUE(none->isEmpty());

    QImage black(9, 5, QImage::Format_RGB32);
    black.fill(Qt::black);
    const std::optional<QRegion> full = regionFromMask(SkinImage(black));
    ASSERT_TRUE(full.has_value());
    EXPECT_TRUE(full->xored(QRegion(0, 0, 9, 5)).isEmpty());

    // Near-white is inside; odd widths read right; another format reads the same.
    QImage mask = white;
    mask.setPixel(3, 2, qRgb(254, 255, 255));
    mask.setPixel(8, 4, qRgb(0, 0, 0));
    const std::optional<QRegion> region =
        regionFromMask(SkinImage(mask.convertToFormat(QImage::Format_RGB888)));
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(region->xored(QRegion(3, 2, 1, 1) + QRegion(8, 4, 1, 1)).isEmpty());
}

TEST(RegionFromMask, MoreThan2000RunsGiveTheWholeOutline) {
    // A checkerboard of 121 x 60: 3,630 one-pixel runs, built in two pieces.
    QImage mask(121, 60, QImage::Format_RGB32);
    QRegion expected;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 121; ++x) {
            const bool inside = (x + y) % 2 == 0;
            mask.setPixel(x, y, inside ? qRgb(10, 20, 30) : qRgb(255, 255, 255));
            if (inside)
                expected += QRect(x, y, 1, 1);
        }
    }
    const std::optional<QRegion> region = regionFromMask(SkinImage(mask));
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(region->xored(expected).isEmpty());
    EXPECT_TRUE(region->contains(QPoint(119, 59)));
    EXPECT_FALSE(region->contains(QPoint(120, 59)));
}

TEST(RegionFromCornerColour, CutsAwayThePixelsOfTheCornerColour) {
    QImage thumb(6, 4, QImage::Format_RGB32);
    thumb.fill(qRgb(255, 0, 255));
    for (int y = 1; y < 3; ++y)
        for (int x = 1; x < 5; ++x)
            thumb.setPixel(x, y, qRgb(90, 90, 90));
    thumb.setPixel(5, 3, qRgb(255, 0, 254)); // one off the key: stays
    const QRegion region = regionFromCornerColour(thumb, QSize(6, 4));
    EXPECT_TRUE(region.xored(QRegion(1, 1, 4, 2) + QRegion(5, 3, 1, 1)).isEmpty());

    // A window larger than its picture keeps what the picture does not cover.
    const QRegion larger = regionFromCornerColour(thumb, QSize(8, 4));
    EXPECT_TRUE(larger.contains(QPoint(7, 0)));
    EXPECT_FALSE(larger.contains(QPoint(0, 0)));
}

TEST(LoadPicture, TopDownBitmapsOfTheSkinShowAsQtReadsThemAndCutShortAsNothing) {
    const std::string painted = VANTREL_SKINS_DIR "effect1_over.bmp";
    const SkinImage mapped = loadPicture(painted);
    ASSERT_FALSE(mapped.isEmpty());
    EXPECT_EQ(mapped.image(), QImage(QString::fromStdString(painted)));
    // Painting takes RGB32 pixels as opaque, whatever their fourth byte says.
    const uchar* bytes = mapped.image().constBits();
    for (qsizetype i = 3; i < mapped.image().sizeInBytes(); i += 4)
        ASSERT_EQ(bytes[i], 0xFF) << i;

    TempDir dir;
    std::filesystem::copy_file(painted, dir.file("cut.bmp"));
    std::filesystem::resize_file(dir.file("cut.bmp"), std::filesystem::file_size(painted) - 100);
    const QByteArray bottomUp = encoded(statePicture(QSize(30, 20), State::Down), "BMP");
    writeBytes(dir.file("cut24.bmp"), bottomUp.left(bottomUp.size() - 10));
    EXPECT_TRUE(loadPicture(dir.file("cut.bmp")).isEmpty());
    EXPECT_TRUE(loadPicture(dir.file("cut24.bmp")).isEmpty());
}

TEST(CutPicture, APartInsideSharesThePixelsAndOutlivesThePicture) {
    auto source = std::make_unique<SkinImage>(statePicture(QSize(50, 40), State::Over));
    const SkinImage part = cutPicture(*source, QRect(7, 9, 11, 5));
    EXPECT_EQ(part.image().constBits(), source->image().constScanLine(9) + 7 * 4);
    const SkinImage edge = cutPicture(*source, QRect(45, 35, 10, 10));
    EXPECT_EQ(edge.image(), source->image().copy(45, 35, 10, 10));
    source.reset();
    EXPECT_EQ(part.image().pixel(10, 4), qRgb(17, 13, 100));
}

TEST(RegionFromMask, OneBitMasksGiveTheOutlineOfTheirFullColourForm) {
    // Odd width, runs across byte edges, rows wholly inside and wholly outside.
    QImage picture(37, 6, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int x = 0; x < 37; ++x)
        picture.setPixel(x, 2, qRgb(0, 0, 0));
    for (int x = 5; x < 30; x += 3)
        picture.setPixel(x, 4, qRgb(0, 0, 0));
    picture.setPixel(36, 5, qRgb(0, 0, 0));
    const QRegion expected = *regionFromMask(SkinImage(picture));
    QImage mono = picture.convertToFormat(QImage::Format_Mono);
    QImage swapped = mono;
    swapped.invertPixels();
    swapped.setColorTable({mono.color(1), mono.color(0)});
    for (const QImage& mask : {mono, swapped, picture.convertToFormat(QImage::Format_MonoLSB)})
        EXPECT_TRUE(regionFromMask(SkinImage(mask))->xored(expected).isEmpty());
    const std::string painted = VANTREL_SKINS_DIR "config_mask.bmp";
    EXPECT_TRUE(
        regionFromMask(loadMask(painted))->xored(*regionFromMask(loadPicture(painted))).isEmpty());

    // Near-white is inside; with both colours white nothing is.
    mono.setColorTable({qRgb(254, 255, 255), qRgb(0, 0, 0)});
    EXPECT_TRUE(regionFromMask(SkinImage(mono))->xored(QRegion(0, 0, 37, 6)).isEmpty());
    mono.setColorTable({qRgb(255, 255, 255), qRgb(255, 255, 255)});
    EXPECT_TRUE(regionFromMask(SkinImage(mono))->isEmpty());
}
