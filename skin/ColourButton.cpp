#include "skin/ColourButton.h"

#include "skin/ColourWord.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <array>

namespace vantrel {

namespace {

constexpr int kBlendAlpha = 127;

// Source-over at constant alpha 127 of 255, rounded to the nearest step.
int blendChannel(int source, int destination) {
    return (source * kBlendAlpha + destination * (255 - kBlendAlpha) + 127) / 255;
}

// What blending one source value gives for each destination value.
using BlendTable = std::array<uint8_t, 256>;

BlendTable blendTable(int source) {
    BlendTable table{};
    for (int d = 0; d < 256; ++d)
        table[size_t(d)] = uint8_t(blendChannel(source, d));
    return table;
}

QRgb blendPixel(const BlendTable& r, const BlendTable& g, const BlendTable& b, QRgb destination) {
    return qRgb(r[size_t(qRed(destination))], g[size_t(qGreen(destination))],
                b[size_t(qBlue(destination))]);
}

} // namespace

ColourButton::ColourButton(QWidget* parent) : SkinButton(parent) {
    // It paints every pixel of itself, so what lies beneath is not painted
    // first (the keyboard's colour keys repaint 30 times a second).
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ColourButton::setInsets(int outer, int inner) {
    m_outerInset = outer;
    m_innerInset = inner;
}

QRegion ColourButton::colourShape(QSize size) const {
    const int w = size.width();
    const int h = size.height();
    const int o = m_outerInset;
    const int i = m_innerInset;
    // Corners given as (left, top)-(right, bottom), right and bottom exclusive.
    const QRect across(QPoint(o, i), QPoint(w - o - 1, h - i - 1));
    const QRect upright(QPoint(i, o), QPoint(w - i - 1, h - o - 1));
    return QRegion(across).united(upright);
}

void ColourButton::paintEvent(QPaintEvent*) {
    // The state picture as it is when it fits (a key's picture, 30 times a
    // second in the lighting preview), else drawn over black.
    const QImage& state = statePicture().image();
    QImage picture;
    if (state.size() == size() && state.format() == QImage::Format_RGB32) {
        picture = state;
    } else {
        picture = QImage(size(), QImage::Format_RGB32);
        picture.fill(Qt::black);
        QPainter(&picture).drawImage(0, 0, state);
    }
    const QColor colour = colourFromWord(m_colour);
    if (!m_blendMode) {
        QPainter painter(&picture);
        painter.setClipRegion(colourShape(size()));
        painter.fillRect(picture.rect(), colour);
    } else if (m_colour != 0) {
        // The whole button is blended with a black picture that carries the
        // colour in the shape: darkened by half outside, tinted inside.
        const BlendTable red = blendTable(colour.red());
        const BlendTable green = blendTable(colour.green());
        const BlendTable blue = blendTable(colour.blue());
        const BlendTable black = blendTable(0);
        const int w = picture.width();
        const int h = picture.height();
        const int o = m_outerInset;
        const int i = m_innerInset;
        for (int y = 0; y < h; ++y) {
            // The row's part of the shape, [from, to): the two centred
            // rectangles of colourShape, row by row rather than asked per pixel.
            int from = w, to = 0;
            if (y >= i && y < h - i)
                from = std::min(from, o), to = std::max(to, w - o);
            if (y >= o && y < h - o)
                from = std::min(from, i), to = std::max(to, w - i);
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < w; ++x) {
                line[x] = x >= from && x < to ? blendPixel(red, green, blue, line[x])
                                              : blendPixel(black, black, black, line[x]);
            }
        }
    }
    QPainter(this).drawImage(0, 0, picture);
}

void ColourButton::mousePressEvent(QMouseEvent* event) {
    if (m_pressPaints && event->button() == Qt::LeftButton) {
        m_colour = m_brushColour;
        update();
    }
    SkinButton::mousePressEvent(event);
}

} // namespace vantrel
