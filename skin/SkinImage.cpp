#include "skin/SkinImage.h"

#include "skin/MaskRuns.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdlib>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The fields of a BMP file's headers that say where its rows lie.
struct BmpLayout {
    static constexpr size_t kHeaderBytes = 54;

    uint32_t pixelsAt = 0;
    uint32_t infoBytes = 0;
    int32_t width = 0;
    int32_t height = 0; // negative: rows top first
    uint16_t planes = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;

    static std::optional<BmpLayout> of(const uint8_t* bytes, size_t size) {
        if (size < kHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
            return std::nullopt;
        const auto at = [bytes](size_t offset, auto& field) {
            field = qFromLittleEndian<std::remove_reference_t<decltype(field)>>(bytes + offset);
        };
        BmpLayout layout;
        at(10, layout.pixelsAt);
        at(14, layout.infoBytes);
        at(18, layout.width);
        at(22, layout.height);
        at(26, layout.planes);
        at(28, layout.bitsPerPixel);
        at(30, layout.compression);
        return layout;
    }

    uint64_t rows() const { return static_cast<uint64_t>(std::abs(static_cast<int64_t>(height))); }
    uint64_t lineBytes() const {
        return (static_cast<uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
    }
    // An uncompressed picture whose file ends before its last row is damaged,
    // though Qt's reader would show it with whatever follows as pixels. (The
    // old 12-byte header lays its fields out otherwise and is left to Qt.)
    bool cutShort(uint64_t fileBytes) const {
        const bool uncompressed = compression == 0 || compression == 3;
        return infoBytes >= 40 && uncompressed && width > 0 && bitsPerPixel > 0 &&
               (pixelsAt > fileBytes || rows() > (fileBytes - pixelsAt) / lineBytes());
    }
    // Rows top first, 32 bits a pixel, on a 4-byte boundary: the layout of a
    // QImage of format RGB32 (blue, green, red, 0xFF on a little-endian machine).
    bool isRgb32() const {
        return std::endian::native == std::endian::little && infoBytes == 40 && planes == 1 &&
               bitsPerPixel == 32 && compression == 0 && pixelsAt >= kHeaderBytes &&
               pixelsAt % 4 == 0 && width > 0 && height < 0;
    }
};

QImage decoded(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (path.empty() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll();
    if (data.isEmpty())
        return {};
    const std::optional<BmpLayout> bmp = BmpLayout::of(
        reinterpret_cast<const uint8_t*>(data.constData()), static_cast<size_t>(data.size()));
    if (bmp && bmp->cutShort(static_cast<uint64_t>(data.size())))
        return {};
    QBuffer buffer;
    buffer.setData(data);
    // A BMP goes straight to Qt's own reader: guessing the format would load
    // every image plugin first.
    QImageReader reader(&buffer, bmp ? "bmp" : QByteArray());
    reader.setAutoDetectImageFormat(!bmp);
    if (reader.format() == "jpeg" && !jpegIsComplete(data))
        return {};
    return reader.read();
}

struct Mapping {
    void* address;
    size_t length;
};

void unmap(void* info) {
    const auto* mapping = static_cast<Mapping*>(info);
    ::munmap(mapping->address, mapping->length);
    delete mapping;
}

// A BMP laid out as an RGB32 QImage is shown as it lies in the file: mapped,
// so that the kernel reads a page only when something paints it. Nothing for
// any other file, and an empty picture for such a BMP cut short.
std::optional<QImage> mappedBitmap(const std::string& path) {
    const int fd = path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat status {};
    std::array<uint8_t, BmpLayout::kHeaderBytes> header{};
    const bool read =
        ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        ::pread(fd, header.data(), header.size(), 0) == static_cast<ssize_t>(header.size());
    const std::optional<BmpLayout> bmp =
        read ? BmpLayout::of(header.data(), header.size()) : std::nullopt;
    // Larger than the image reader would allocate: left to it, which refuses.
    const uint64_t limit = static_cast<uint64_t>(QImageReader::allocationLimit()) << 20;
    if (!bmp || !bmp->isRgb32() || (limit != 0 && bmp->rows() > limit / bmp->lineBytes())) {
        ::close(fd);
        return std::nullopt;
    }
    const uint64_t fileBytes = static_cast<uint64_t>(status.st_size);
    const size_t length = bmp->pixelsAt + bmp->lineBytes() * bmp->rows();
    void* address = bmp->cutShort(fileBytes)
                        ? MAP_FAILED
                        : ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (address == MAP_FAILED)
        return QImage();
    auto* mapping = new Mapping{address, length};
    QImage image(static_cast<const uchar*>(address) + bmp->pixelsAt, bmp->width,
                 static_cast<int>(bmp->rows()), static_cast<qsizetype>(bmp->lineBytes()),
                 QImage::Format_RGB32, unmap, mapping);
    if (image.isNull())
        unmap(mapping);
    return image;
}

void releaseOwner(void* owner) {
    delete static_cast<QImage*>(owner);
}

// The runs of a one-bit mask read from its bits, without a 32-bit copy of
// it: which of its two colours is exactly white decides. Nothing for a
// mask of any other kind.
std::optional<std::vector<RunRect>> oneBitRuns(const QImage& mask) {
    const QList<QRgb> table = mask.colorTable();
    if (mask.depth() != 1 || table.size() != 2)
        return std::nullopt;
    const auto isWhite = [](QRgb colour) { return (colour & 0xFFFFFF) == 0xFFFFFF; };
    const int width = mask.width();
    const int height = mask.height();
    std::vector<RunRect> runs;
    if (isWhite(table[0]) == isWhite(table[1])) {
        if (!isWhite(table[0]))
            for (int y = 0; y < height; ++y)
                runs.push_back({0, y, width, y + 1});
        return runs;
    }
    const int insideBit = isWhite(table[0]) ? 1 : 0;
    // Eight pixels on one side of the outline at once, in either bit order.
    const uchar allOutside = insideBit == 1 ? 0x00 : 0xFF;
    const uchar allInside = static_cast<uchar>(~allOutside);
    const bool leastBitFirst = mask.format() == QImage::Format_MonoLSB;
    const int wholeBytes = width / 8;
    for (int y = 0; y < height; ++y) {
        const uchar* line = mask.constScanLine(y);
        const auto inside = [&](int x) {
            const int shift = leastBitFirst ? x % 8 : 7 - x % 8;
            return ((line[x / 8] >> shift) & 1) == insideBit;
        };
        // The first pixel from x on that is not on side in.
        const auto skip = [&](int x, bool in) {
            const uchar whole = in ? allInside : allOutside;
            for (;;) {
                while (x < width && x % 8 != 0 && inside(x) == in)
                    ++x;
                if (x >= width || x % 8 != 0)
                    return std::min(x, width);
                int byte = x / 8;
                while (byte < wholeBytes && line[byte] == whole)
                    ++byte;
                x = byte * 8;
                if (x >= width || inside(x) != in)
                    return std::min(x, width);
                ++x;
            }
        };
        for (int x = skip(0, false); x < width;) {
            const int right = skip(x, true);
            runs.push_back({x, y, right, y + 1});
            x = skip(right, false);
        }
    }
    return runs;
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
    if (std::optional<QImage> mapped = mappedBitmap(path))
        return SkinImage(std::move(*mapped));
    return SkinImage(normalised(decoded(path)));
}

SkinImage loadMask(const std::string& path) {
    if (std::optional<QImage> mapped = mappedBitmap(path))
        return SkinImage(std::move(*mapped));
    return SkinImage(decoded(path));
}

QImage loadProgramPicture(const QString& path) {
    QImageReader reader(path, QFileInfo(path).suffix().toLower().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
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
    const QImage& image = source.image();
    // What copy() does beyond the picture's edge is kept as it is.
    if (!image.rect().contains(rect) || image.depth() % 8 != 0)
        return SkinImage(image.copy(rect));
    // The part keeps the whole picture alive rather than a copy of its pixels.
    auto* owner = new QImage(image);
    QImage part(image.constScanLine(rect.top()) + rect.left() * (image.depth() / 8), rect.width(),
                rect.height(), image.bytesPerLine(), image.format(), releaseOwner, owner);
    if (part.isNull()) {
        releaseOwner(owner);
        return {};
    }
    // Whatever else copy() would carry over (these may copy the pixels).
    if (image.depth() == 8)
        part.setColorTable(image.colorTable());
    if (image.colorSpace().isValid())
        part.setColorSpace(image.colorSpace());
    if (image.devicePixelRatio() != 1.0)
        part.setDevicePixelRatio(image.devicePixelRatio());
    return SkinImage(std::move(part));
}

std::optional<QRegion> regionFromMask(const SkinImage& mask) {
    if (mask.isEmpty())
        return std::nullopt;
    const QImage& image = mask.image();
    if (std::optional<std::vector<RunRect>> runs = oneBitRuns(image))
        return regionFromRuns(*runs);
    const QImage rgb32 = image.convertToFormat(QImage::Format_RGB32);
    constexpr Rgb kWhite{255, 255, 255};
    constexpr Rgb kNoTolerance{0, 0, 0};
    return regionFromRuns(MaskRuns::opaqueRuns(rgb32.constBits(), rgb32.width(), rgb32.height(),
                                               static_cast<size_t>(rgb32.bytesPerLine()), kWhite,
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
