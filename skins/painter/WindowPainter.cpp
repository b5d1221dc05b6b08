#include "skins/painter/WindowPainter.h"

#include "settings/KeyNames.h"
#include "settings/KeyTable.h"
#include "settings/ProfileDefaults.h"
#include "settings/UsKeyboardLayout.h"
#include "skin/ColourWord.h"
#include "skin/ControlPlacement.h"
#include "skin/Palette.h"

#include <QDir>
#include <QFileInfo>
#include <QPainterPath>
#include <QSaveFile>

#include <cstdio>
#include <functional>
#include <optional>

namespace vantrel::painter {

namespace {

constexpr int kLastButtonKey = 255;

QRect rectOf(const ControlPlacement& p) {
    return QRect(p.left, p.top, p.width(), p.height());
}

QString keyLegend(int position) {
    const uint8_t code = kDefaultStandardKeys[static_cast<size_t>(position)];
    const std::optional<uint32_t> vk = KeyTable::virtualKeyFromKeyCode(code, UsKeyboardLayout());
    if (!vk)
        return {};
    // "ScrollLock" reads as two words on a keycap and may then take two lines.
    QString legend = QString::fromStdString(KeyNames::keyName(*vk));
    for (qsizetype i = legend.size() - 1; i > 0; --i) {
        if (legend[i].isUpper() && legend[i - 1].isLower())
            legend.insert(i, QLatin1Char(' '));
    }
    return legend;
}

void putLittleEndian(QByteArray& bytes, qsizetype at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// 32 bits a pixel (blue, green, red, 0xFF), rows top first, pixels from byte 56:
// the layout of a picture in memory, which the program maps as it lies.
bool writeTopDownBitmap(const QImage& image, QIODevice& out) {
    constexpr int kPixelsAt = 56;
    const qsizetype lineBytes = static_cast<qsizetype>(image.width()) * 4;
    const qsizetype pixelBytes = lineBytes * image.height();
    QByteArray header(kPixelsAt, '\0');
    header[0] = 'B';
    header[1] = 'M';
    putLittleEndian(header, 2, static_cast<uint32_t>(kPixelsAt + pixelBytes));
    putLittleEndian(header, 10, kPixelsAt);
    putLittleEndian(header, 14, 40);
    putLittleEndian(header, 18, static_cast<uint32_t>(image.width()));
    putLittleEndian(header, 22, static_cast<uint32_t>(-image.height())); // negative: top-down
    putLittleEndian(header, 26, 1 | (32 << 16));                         // planes, bits a pixel
    putLittleEndian(header, 34, static_cast<uint32_t>(pixelBytes));
    if (out.write(header) != header.size())
        return false;
    QByteArray line(lineBytes, '\0');
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            putLittleEndian(line, x * 4, pixels[x] | 0xFF000000);
        if (out.write(line) != line.size())
            return false;
    }
    return true;
}

// Written beside the old file and renamed over it: a running program may have
// the old one mapped, which must not change under it.
bool saveReplacing(const std::string& path, const std::function<bool(QIODevice&)>& write) {
    const QString file = QString::fromStdString(path);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && write(out) && out.commit();
}

QPainterPath outlinePath(QSize size, int radius) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, size.width(), size.height()), radius, radius);
    return path;
}

} // namespace

WindowPainter::WindowPainter(const std::string& descriptionPath) : m_file(descriptionPath) {
    const ControlPlacement size =
        parsePlacement("SIZE,0,0," + m_file.readText("PAINTER", "Size", {}));
    m_size = QSize(size.width(), size.height());
    m_radius = m_file.readInt("PAINTER", "Radius", 12);
    m_strip = m_file.readInt("PAINTER", "Strip", 0);
    m_firstKey = m_file.readInt("PAINTER", "Keyboard", 0);
}

QString WindowPainter::hint(const QString& key) const {
    return QString::fromStdString(m_file.readText("PAINTER", key.toStdString(), {}));
}

QImage WindowPainter::mask() const {
    QImage image(m_size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    // No smoothing: a mask pixel is in or out, exactly white or black.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(outlinePath(m_size, m_radius));
    p.end();
    // One bit a pixel: the mask file stays small and quick to read.
    return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

QImage WindowPainter::picture(Look look) const {
    QImage image(m_size, QImage::Format_RGB32);
    image.fill(colourFromWord(Palette::kGround));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    paintGround(p);
    paintControls(p, look);
    return image;
}

void WindowPainter::paintGround(QPainter& p) const {
    const QRect all(QPoint(0, 0), m_size);
    QLinearGradient ground(all.topLeft(), all.bottomLeft());
    ground.setColorAt(0, colourFromWord(0x2C2C2C));
    ground.setColorAt(1, colourFromWord(0x222222));
    p.fillRect(all, ground);

    if (m_strip > 0) {
        p.fillRect(QRect(0, 0, m_size.width(), m_strip), colourFromWord(Palette::kGroundDeep));
        p.fillRect(QRect(0, m_strip, m_size.width(), 1), colourFromWord(Palette::kLine));
        p.fillRect(QRect(0, m_strip / 2 - 9, 4, 18), colourFromWord(Palette::kHighlight));
    }
    const QString title = hint(QStringLiteral("Title"));
    if (!title.isEmpty()) {
        p.setPen(colourFromWord(Palette::kText));
        p.setFont(ControlArt::font(15, true));
        p.drawText(QRect(18, 0, m_size.width() - 36, std::max(m_strip, 40)),
                   Qt::AlignVCenter | Qt::AlignLeft, title);
    }
    const QString brand = hint(QStringLiteral("Brand"));
    if (!brand.isEmpty()) {
        p.setPen(colourFromWord(Palette::kHighlight));
        p.setFont(ControlArt::font(22, true));
        p.drawText(QRect(20, 0, 200, m_strip), Qt::AlignVCenter | Qt::AlignLeft, brand);
        const int brandWidth = QFontMetrics(ControlArt::font(22, true)).horizontalAdvance(brand);
        p.setPen(colourFromWord(Palette::kTextDim));
        p.setFont(ControlArt::font(13));
        p.drawText(QRect(30 + brandWidth, 0, 200, m_strip), Qt::AlignVCenter | Qt::AlignLeft,
                   hint(QStringLiteral("BrandLine")));
    }

    for (int n = 1; n <= 20; ++n) {
        const std::string panel = m_file.readText("PAINTER", "Panel" + std::to_string(n), {});
        if (panel.empty())
            continue;
        const QRect r = rectOf(parsePlacement(panel));
        p.setPen(QPen(colourFromWord(0x333333), 1));
        p.setBrush(colourFromWord(0x242424));
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }
    for (int n = 1; n <= 2; ++n) {
        const std::string area = m_file.readText("PAGEPOSITION", std::to_string(n), {});
        if (area.empty())
            continue;
        p.setPen(QPen(colourFromWord(0x181818), 1));
        p.setBrush(colourFromWord(Palette::kRecess));
        p.drawRoundedRect(QRectF(rectOf(parsePlacement(area))).adjusted(-1.5, -1.5, 1.5, 1.5), 9,
                          9);
    }
    for (int n = 1; n <= 20; ++n) {
        for (const char* kind : {"Text", "Note", "Heading"}) {
            const std::string value = m_file.readText("PAINTER", kind + std::to_string(n), {});
            if (value.empty())
                continue;
            const ControlPlacement t = parsePlacement(value);
            // The words are all that follows the rectangle, commas and all.
            size_t start = 0;
            for (int comma = 0; comma < 5 && start != std::string::npos; ++comma)
                start = value.find(',', start == 0 ? 0 : start + 1);
            const std::string words =
                start == std::string::npos ? std::string() : value.substr(start + 1);
            const bool note = std::string_view(kind) == "Note";
            const bool heading = std::string_view(kind) == "Heading";
            p.setPen(note ? colourFromWord(Palette::kTextDim) : colourFromWord(Palette::kText));
            p.setFont(ControlArt::font(heading ? 14 : (note ? 12 : 13), heading));
            p.drawText(rectOf(t), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                       QString::fromStdString(words));
        }
    }

    // The outline's edge, just inside the mask.
    p.setPen(QPen(colourFromWord(0x444444), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, m_size.width() - 1, m_size.height() - 1), m_radius - 0.5,
                      m_radius - 0.5);
}

ControlHint WindowPainter::controlHint(int key) const {
    ControlHint h;
    if (m_firstKey > 0 && key >= m_firstKey && key < m_firstKey + 128) {
        h.kind = ControlKind::Key;
        h.caption = keyLegend(key - m_firstKey);
        return h;
    }
    const QString n = QString::number(key);
    h.kind = ControlArt::kindFromName(hint(QStringLiteral("Kind") + n));
    h.caption = hint(QStringLiteral("Caption") + n);
    const QString colour = hint(QStringLiteral("Colour") + n);
    h.colour = QColor::fromString(colour.isEmpty() ? hint(QStringLiteral("Fill") + n) : colour);
    return h;
}

void WindowPainter::paintControls(QPainter& p, Look look) const {
    for (int key = 1; key <= kLastButtonKey; ++key) {
        const std::string value = m_file.readText("BUTTONPOS", std::to_string(key), {});
        if (value.empty())
            continue;
        ControlArt::draw(p, rectOf(parsePlacement(value)), controlHint(key), look);
    }
}

bool WindowPainter::save(const std::string& folder, std::set<std::string>& painted) const {
    const std::pair<const char*, std::optional<Look>> pictures[] = {{"Mask", std::nullopt},
                                                                    {"Normal", Look::Normal},
                                                                    {"Over", Look::Over},
                                                                    {"Down", Look::Down},
                                                                    {"Disable", Look::Disabled}};
    bool ok = !m_size.isEmpty();
    for (const auto& [key, look] : pictures) {
        std::string name = m_file.readText("SCREEN", key, {});
        std::replace(name.begin(), name.end(), '\\', '/');
        if (name.empty())
            continue;
        const std::string path = folder + name;
        const QImage image = look ? picture(*look) : mask();
        if (!painted.insert(path).second) {
            if (QImage(QString::fromStdString(path)) != image) {
                std::fprintf(stderr, "%s is named by windows that draw it differently\n",
                             name.c_str());
                ok = false;
            }
            continue;
        }
        const auto mappable = [&](QIODevice& out) { return writeTopDownBitmap(image, out); };
        // A BMP state picture is written as the program maps it.
        const bool bmp =
            QFileInfo(QString::fromStdString(path)).suffix().toLower() == QLatin1String("bmp");
        ok = (look && bmp ? saveReplacing(path, mappable) : savePicture(image, path)) && ok;
    }
    return ok;
}

bool savePicture(const QImage& image, const std::string& path) {
    const QByteArray suffix = QFileInfo(QString::fromStdString(path)).suffix().toLower().toLatin1();
    return saveReplacing(path, [&](QIODevice& out) {
        if (suffix == "jpg")
            return image.save(&out, "JPEG", 95);
        // Otherwise the suffix names the format (BMP, PNG ...).
        return image.save(&out, suffix.constData());
    });
}

} // namespace vantrel::painter
