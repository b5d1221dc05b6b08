#include "skin/SkinImage.h"

#include "skin/MaskRuns.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>

namespace vantrel {

namespace {

// Entropy-coded JPEG data never holds an end-of-image marker (0xFF is always
// followed by 0x00 there), so a file cut short has none after its last scan.
bool jpegIsComplete(const QByteArray& data) {
    const qsizetype lastScan = data.lastIndexOf(QByteArrayView("\xFF\xDA", 2));
    return lastScan >= 0 && data.indexOf(QByteArrayView("\xFF\xD9", 2), lastScan) >= 0;
}

QImage normalised(QImage image) {
    // Skin pictures carry no transparency; one pixel format keeps painting and
    // outline building simple.
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB32);
}

QRegion regionFromRuns(const std::vector<RunRect>& runs) {
    QRegion result;
    for (size_t first = 0; first < runs.size(); first += MaskRuns::kMaxRectsPerRegion) {
        const size_t count = std::min(MaskRuns::kMaxRectsPerRegion, runs.size() - first);
        std::vector<QRect> rects;
        rects.reserve(count);
        for (size_t i = first; i < first + count; ++i) {
            const RunRect& r = runs[i];
            rects.emplace_back(r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        // The runs are sorted by row and never touch within a row, which is
        // what setRects asks for.
        QRegion part;
        part.setRects(rects.data(), static_cast<int>(rects.size()));
        result = result.united(part);
    }
    return result;
}

} // namespace

SkinImage loadPicture(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (path.empty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    if (data.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    if (reader.format() == "jpeg" && !jpegIsComplete(data))
        return {};
    return SkinImage(normalised(reader.read()));
}

std::optional<QImage> loadBitmapFile(const std::string& path) {
    QImageReader reader(QString::fromStdString(path), "bmp");
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return normalised(std::move(image));
}

SkinImage cutPicture(const SkinImage& source, const QRect& rect) {
    // QImage::copy of an empty rectangle would copy the whole picture.
    if (source.isEmpty() || rect.isEmpty())
        return {};
    return SkinImage(source.image().copy(rect));
}

std::optional<QRegion> regionFromMask(const SkinImage& mask) {
    if (mask.isEmpty())
        return std::nullopt;
    const QImage image = mask.image().convertToFormat(QImage::Format_RGB32);
    constexpr Rgb kWhite{255, 255, 255};
    constexpr Rgb kNoTolerance{0, 0, 0};
    return regionFromRuns(MaskRuns::opaqueRuns(image.constBits(), image.width(), image.height(),
                                               static_cast<size_t>(image.bytesPerLine()), kWhite,
                                               kNoTolerance));
}

QRegion regionFromCornerColour(const QImage& picture, QSize windowSize) {
    const QRegion whole(0, 0, windowSize.width(), windowSize.height());
    if (picture.isNull())
        return whole;
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QRgb key = image.pixel(0, 0);
    const Rgb keyRgb{static_cast<uint8_t>(qRed(key)), static_cast<uint8_t>(qGreen(key)),
                     static_cast<uint8_t>(qBlue(key))};
    const QRegion keyed =
        regionFromRuns(MaskRuns::keyColourRuns(image.constBits(), image.width(), image.height(),
                                               static_cast<size_t>(image.bytesPerLine()), keyRgb));
    return whole.subtracted(keyed);
}

} // namespace vantrel
