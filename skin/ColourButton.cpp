#include "skin/ColourButton.h"

#include "skin/ColourWord.h"

#include <QMouseEvent>
#include <QPainter>

namespace vantrel {

namespace {

constexpr int kBlendAlpha = 127;

// Source-over at constant alpha 127 of 255, rounded to the nearest step.
int blendChannel(int source, int destination) {
    return (source * kBlendAlpha + destination * (255 - kBlendAlpha) + 127) / 255;
}

QRgb blendPixel(QRgb source, QRgb destination) {
    return qRgb(blendChannel(qRed(source), qRed(destination)),
                blendChannel(qGreen(source), qGreen(destination)),
                blendChannel(qBlue(source), qBlue(destination)));
}

} // namespace

ColourButton::ColourButton(QWidget* parent) : SkinButton(parent) {}

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
    QImage picture(size(), QImage::Format_RGB32);
    picture.fill(Qt::black);
    {
        QPainter painter(&picture);
        painter.drawImage(0, 0, statePicture().image());
    }
    const QRegion shape = colourShape(size());
    const QColor colour = colourFromWord(m_colour);
    if (!m_blendMode) {
        QPainter painter(&picture);
        painter.setClipRegion(shape);
        painter.fillRect(picture.rect(), colour);
    } else if (m_colour != 0) {
        // The whole button is blended with a black picture that carries the
        // colour in the shape: darkened by half outside, tinted inside.
        const QRgb tint = colour.rgb();
        const QRgb black = qRgb(0, 0, 0);
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = blendPixel(shape.contains(QPoint(x, y)) ? tint : black, line[x]);
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
