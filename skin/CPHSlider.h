#pragma once

#include "skin/SliderScale.h"

#include <QImage>
#include <QLoggingCategory>
#include <QWidget>

namespace vantrel {

// Debug lines of the bitmap slider ("CclickHSlider=%f", "CPHSlider=%f"), off by default.
Q_DECLARE_LOGGING_CATEGORY(lcSlider)

// The thumb of a bitmap slider: a picture with the outline of its non-corner
// colour, dragged along its track. It is made by its track, CclickHSlider.
class CPHSlider final : public QWidget {
    Q_OBJECT
public:
    // picture gives the look, size and outline; the thumb's left edge travels
    // from 0 to travelWidth less the picture's width, at the top of the track.
    CPHSlider(QImage picture, int travelWidth, int controlId, QWidget* track);

    void setRange(int minimum, int maximum);
    void setRounding(bool rounding) { m_scale.rounding = rounding; }
    const SliderScale& scale() const { return m_scale; }

    // Clamps as unsigned numbers (a negative value becomes the maximum),
    // stores the value and moves the thumb to its place. No notice.
    void setValue(int value);
    int value() const { return m_value; }

signals:
    // The thumb was dragged or let go; the track re-sends it to the page.
    void valueChanged(int value, int controlId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // How far the thumb's left edge travels.
    int span() const { return m_travelWidth - width(); }

    QImage m_picture;
    SliderScale m_scale;
    int m_travelWidth;
    int m_controlId;
    int m_value = 0;
    int m_pressX = 0;
    bool m_dragging = false;
};

} // namespace vantrel
