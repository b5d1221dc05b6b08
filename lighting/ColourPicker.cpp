#include "lighting/ColourPicker.h"

#include "skin/ColourWord.h"
#include "skin/SkinImage.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vantrel {

namespace {

constexpr QRgb kSeeThrough = qRgb(255, 0, 255);
constexpr QRgb kWhite = qRgb(255, 255, 255);

QImage seeThroughMarker(const QString& path) {
    QImage marker = loadProgramPicture(path);
    if (marker.isNull())
        return marker;
    marker = marker.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < marker.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(marker.scanLine(y));
        for (int x = 0; x < marker.width(); ++x) {
            if (qRgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x])) == kSeeThrough)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return marker;
}

} // namespace

ColourPicker::ColourPicker(const QRect& rect, QWidget* parent, const QString& spectrum,
                           const QString& marker)
    : QWidget(parent),
      m_spectrum(loadProgramPicture(spectrum).convertToFormat(QImage::Format_RGB32)),
      m_marker(seeThroughMarker(marker)) {
    setGeometry(rect);
    if (m_spectrum.isNull() || m_marker.isNull()) {
        qWarning("The colour picker's pictures cannot be read.");
        hide();
        return;
    }
    show();
}

void ColourPicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_spectrum);
    painter.drawImage(m_markerPosition, m_marker);
}

QRgb ColourPicker::shownPixel(QPoint point) const {
    const QPoint inMarker = point - m_markerPosition;
    if (m_marker.valid(inMarker)) {
        const QRgb mark = m_marker.pixel(inMarker);
        if (qAlpha(mark) != 0)
            return mark;
    }
    return m_spectrum.valid(point) ? m_spectrum.pixel(point) : kWhite;
}

void ColourPicker::pick(QPoint point) {
    if (!kReach.contains(point))
        return;
    const QPoint clamped(std::clamp(point.x(), kArea.left(), kArea.right()),
                         std::clamp(point.y(), kArea.top(), kArea.bottom()));
    m_dragging = true;
    // Read before the marker moves: what the user sees is still the old picture.
    const QRgb shown = shownPixel(clamped);
    m_markerPosition = clamped - QPoint(6, 6);
    // The spectrum's border and the marker's light parts must not become a colour.
    if (shown != kWhite) {
        m_colour = wordFromRgb(shown);
        emit colourPicked();
    }
    update();
}

void ColourPicker::mousePressEvent(QMouseEvent* event) {
    // The press is the picker's own: it never drags the window behind it.
    event->accept();
    if (event->button() == Qt::LeftButton)
        pick(event->position().toPoint());
}

void ColourPicker::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    const QPoint point = event->position().toPoint();
    // Qt keeps sending moves while a button is held; leaving the picker ends
    // the drag all the same.
    if (!rect().contains(point)) {
        m_dragging = false;
        return;
    }
    if (m_dragging)
        pick(point);
}

void ColourPicker::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
}

void ColourPicker::leaveEvent(QEvent* event) {
    m_dragging = false;
    QWidget::leaveEvent(event);
}

} // namespace vantrel
