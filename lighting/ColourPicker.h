#pragma once

#include "skin/ProgramPictures.h"

#include <QImage>
#include <QWidget>

#include <cstdint>

namespace vantrel {

// A spectrum picture from which a press, or a drag that started with one,
// takes the colour under the pointer, and a marker drawn at the picked point.
// Colours are words 0x00BBGGRR.
class ColourPicker final : public QWidget {
    Q_OBJECT
public:
    // The part of the spectrum a point is taken from, edges included.
    static constexpr QRect kArea{QPoint(6, 6), QPoint(245, 69)};
    // A press in reach picks at the nearest point of the area: 3 pixels
    // around it, less one on the right and at the bottom.
    static constexpr QRect kReach{QPoint(3, 3), QPoint(247, 71)};

    // Without either picture the picker stays hidden and the owner goes on
    // without it.
    ColourPicker(const QRect& rect, QWidget* parent,
                 const QString& spectrum = QLatin1String(ProgramPictures::kSpectrum),
                 const QString& marker = QLatin1String(ProgramPictures::kMarker));

    // The colour picked last.
    uint32_t colour() const { return m_colour; }
    // Top-left corner of the marker.
    QPoint markerPosition() const { return m_markerPosition; }

signals:
    // A new colour was picked. Emitted at once; receivers connect queued.
    void colourPicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void pick(QPoint point);
    // The pixel at point as the picker shows it now: the marker where it is
    // opaque, the spectrum elsewhere.
    QRgb shownPixel(QPoint point) const;

    QImage m_spectrum;
    // Magenta is see-through: those pixels are made transparent once.
    QImage m_marker;
    uint32_t m_colour = 0x0000FF;
    QPoint m_markerPosition{120, 35};
    bool m_dragging = false;
};

} // namespace vantrel
