#pragma once

#include <QWidget>

#include <cstdint>

namespace vantrel {

// A round patch that shows one colour: its face filled with the colour, its
// window cut to the outline of its mask. Colours are words 0x00BBGGRR.
class ColourSwatch final : public QWidget {
    Q_OBJECT
public:
    ColourSwatch(const QRect& rect, QWidget* parent);

    // Stores and repaints.
    void setColour(uint32_t colour);
    uint32_t colour() const { return m_colour; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    uint32_t m_colour = 0x0000FF;
    QSize m_faceSize;
};

} // namespace vantrel
