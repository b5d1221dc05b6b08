#pragma once

#include "skin/SkinButton.h"

#include <cstdint>

namespace vantrel {

// A skinned button that also shows a colour in a rectangle with notched
// corners, inset from its edges: painted opaque (a colour swatch), or blended
// half-way over the picture (a key cap's colour over the key). A press can
// first take the brush colour, which is how key caps are painted.
// Colours are words 0x00BBGGRR.
class ColourButton final : public SkinButton {
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent = nullptr);

    // The caller repaints.
    void setColour(uint32_t colour) { m_colour = colour; }
    uint32_t colour() const { return m_colour; }

    void setBrushColour(uint32_t colour) { m_brushColour = colour; }
    uint32_t brushColour() const { return m_brushColour; }

    // Blend mode lays the colour over the picture at constant alpha 127 and
    // leaves the picture alone for colour 0; otherwise the colour is opaque.
    void setBlendMode(bool blend) { m_blendMode = blend; }
    bool blendMode() const { return m_blendMode; }

    // A left-button press sets the colour to the brush colour, before any click.
    void setPressPaints(bool paints) { m_pressPaints = paints; }
    bool pressPaints() const { return m_pressPaints; }

    // The shape is the rectangle inset by outer with its corners notched by
    // inner - outer pixels.
    void setInsets(int outer, int inner);
    int outerInset() const { return m_outerInset; }
    int innerInset() const { return m_innerInset; }

    // The union of the two rectangles the colour fills, for a button of size.
    QRegion colourShape(QSize size) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    uint32_t m_colour = 0;
    uint32_t m_brushColour = 0;
    bool m_blendMode = false;
    bool m_pressPaints = false;
    int m_outerInset = 1;
    int m_innerInset = 2;
};

} // namespace vantrel
