#include "skins/painter/ProgramPictures.h"

#include "skin/ColourWord.h"
#include "skin/Palette.h"

#include <QPainter>
#include <QPainterPath>

#include <cstdlib>

namespace vantrel::painter {

namespace {

// Outlines are in or out: drawn without smoothing, black on white.
QImage outline(QSize size, const QPainterPath& shape) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(shape);
    return image;
}

QImage enterKeyMask() {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, 63, 26), 4, 4);
    return outline(QSize(63, 26), shape);
}

// Hue across, from pale at the top through the full colour in the middle to
// dark at the bottom, inside a white border that is never picked.
QImage spectrum() {
    QImage image(252, 76, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 6; y <= 69; ++y) {
        const double t = (y - 6) / 63.0;
        for (int x = 6; x <= 245; ++x) {
            const double hue = (x - 6) / 240.0;
            // A band of rows around the middle holds the full colours.
            const double saturation = 0.2 + 1.8 * t;
            const double value = t < 0.55 ? 1.0 : 1.0 - 1.4 * (t - 0.55);
            image.setPixelColor(x, y,
                                QColor::fromHsvF(static_cast<float>(hue),
                                                 static_cast<float>(std::min(1.0, saturation)),
                                                 static_cast<float>(value)));
        }
    }
    return image;
}

// A ring on magenta, the see-through colour; no pure white either, so it
// reads the same whichever of the two keys a copy uses.
QImage marker() {
    QImage image(13, 13, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter p(&image);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(16, 16, 16));
    p.drawEllipse(QRect(1, 1, 10, 10));
    p.setPen(QColor(240, 240, 240));
    p.drawEllipse(QRect(2, 2, 8, 8));
    return image;
}

QImage swatchFace() {
    QImage image(49, 49, QImage::Format_RGB32);
    image.fill(colourFromWord(0x808080));
    return image;
}

QImage swatchMask() {
    QPainterPath shape;
    shape.addEllipse(QRectF(1, 1, 47, 47));
    return outline(QSize(49, 49), shape);
}

QImage icon(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

QImage pauseIcon() {
    QImage image = icon(QSize(15, 15));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colourFromWord(Palette::kText), 1.4));
    p.drawEllipse(QRectF(1.5, 1.5, 12, 12));
    p.drawLine(QPointF(7.5, 7.5), QPointF(7.5, 4));
    p.drawLine(QPointF(7.5, 7.5), QPointF(10, 8.5));
    return image;
}

QImage keyIcon(bool press) {
    QImage image = icon(QSize(11, 14));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(press ? colourFromWord(Palette::kHighlight) : colourFromWord(Palette::kText));
    QPolygonF arrow;
    if (press)
        arrow << QPointF(1, 6) << QPointF(10, 6) << QPointF(5.5, 13);
    else
        arrow << QPointF(1, 8) << QPointF(10, 8) << QPointF(5.5, 1);
    p.drawPolygon(arrow);
    p.fillRect(press ? QRectF(4, 1, 3, 5) : QRectF(4, 8, 3, 5), p.brush());
    return image;
}

QImage mouseIcon() {
    QImage image = icon(QSize(16, 18));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(colourFromWord(Palette::kText), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(3.5, 1.5, 9, 15), 4.5, 4.5);
    p.drawLine(QPointF(8, 1.5), QPointF(8, 7));
    p.drawLine(QPointF(3.5, 7), QPointF(12.5, 7));
    return image;
}

QImage menuArrow() {
    // A crisp four-by-seven triangle: at this size smoothing only blurs it.
    QImage image(4, 7, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 7; ++y) {
        const int length = 4 - std::abs(y - 3);
        for (int x = 0; x < length; ++x)
            image.setPixelColor(x, y, colourFromWord(Palette::kText));
    }
    return image;
}

} // namespace

// Drawn on a 64-pixel grid and scaled, so every size shows the same picture.
QImage ProgramPictures::programIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(colourFromWord(0x444444), 2));
    p.setBrush(colourFromWord(Palette::kGround));
    p.drawRoundedRect(QRectF(3, 3, 58, 58), 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(colourFromWord(0x3A3A3A));
    p.drawRoundedRect(QRectF(12, 14, 40, 34), 6, 6);
    p.setPen(
        QPen(colourFromWord(Palette::kHighlight), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF() << QPointF(22, 23) << QPointF(32, 40) << QPointF(42, 23));
    return image;
}

std::vector<std::pair<std::string, QImage>> ProgramPictures::all() {
    return {
        {"enter_key_mask.bmp", enterKeyMask()},
        {"spectrum.bmp", spectrum()},
        {"marker.bmp", marker()},
        {"swatch_face.bmp", swatchFace()},
        {"swatch_mask.bmp", swatchMask()},
        {"icon_pause.bmp", pauseIcon()},
        {"icon_key_release.bmp", keyIcon(false)},
        {"icon_key_press.bmp", keyIcon(true)},
        {"icon_mouse_button.bmp", mouseIcon()},
        {"menu_arrow.png", menuArrow()},
        {"program_icon.png", programIcon(64)},
    };
}

} // namespace vantrel::painter
