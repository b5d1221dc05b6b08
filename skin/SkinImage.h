#pragma once

#include <QImage>
#include <QRegion>

#include <optional>
#include <string>

namespace vantrel {

// One picture of the skin. An empty SkinImage (0 x 0) stands for a picture
// that is missing or could not be read: every user of it goes on without it.
class SkinImage final {
public:
    SkinImage() = default;
    explicit SkinImage(QImage image) : m_image(std::move(image)) {}

    bool isEmpty() const { return m_image.isNull(); }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }
    QSize size() const { return m_image.size(); }
    const QImage& image() const { return m_image; }

private:
    QImage m_image;
};

// A window's four full-window state pictures; each control shows the part
// that lies under its own rectangle.
struct SkinPictures {
    SkinImage normal;
    SkinImage over;
    SkinImage down;
    SkinImage disabled;
};

// JPEG, BMP, PNG or whatever the image plugins read, judged by content. A
// missing, empty, truncated or undecodable file gives an empty picture. A
// 32-bit top-down BMP, as the painter writes the skin, is shown straight from
// the file: mapped, not decoded or copied, its pages read as they are painted.
SkinImage loadPicture(const std::string& path);

// A mask as its file holds it (one bit a pixel, as a rule): it is only ever
// read by regionFromMask.
SkinImage loadMask(const std::string& path);

// One of the program's own pictures, read in the format its name ends in:
// guessing the format would load every image plugin first. Null when it
// cannot be read.
QImage loadProgramPicture(const QString& path);

// A ".bmp" file only; nothing when it is missing or unreadable.
std::optional<QImage> loadBitmapFile(const std::string& path);

// The part of source under rect; empty when source or rect is. A part that
// lies wholly inside source shares its pixels rather than copying them.
SkinImage cutPicture(const SkinImage& source, const QRect& rect);

// The outline of a mask: every pixel but the exactly white ones, as the union
// of one-pixel-high runs. Nothing for an empty mask (the window stays
// rectangular); an all-white mask gives an empty region.
std::optional<QRegion> regionFromMask(const SkinImage& mask);

// The rectangle of windowSize less every pixel of picture that has the colour
// of its top-left pixel.
QRegion regionFromCornerColour(const QImage& picture, QSize windowSize);

} // namespace vantrel
