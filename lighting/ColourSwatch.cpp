#include "lighting/ColourSwatch.h"

#include "skin/ColourWord.h"
#include "skin/ProgramPictures.h"
#include "skin/SkinImage.h"

#include <QMouseEvent>
#include <QPainter>

namespace vantrel {

ColourSwatch::ColourSwatch(const QRect& rect, QWidget* parent)
    : QWidget(parent),
      m_faceSize(loadProgramPicture(QLatin1String(ProgramPictures::kSwatchFace)).size()) {
    setGeometry(rect);
    const SkinImage mask(loadProgramPicture(QLatin1String(ProgramPictures::kSwatchMask)));
    if (const std::optional<QRegion> outline = regionFromMask(mask))
        setMask(*outline);
    show();
}

void ColourSwatch::setColour(uint32_t colour) {
    m_colour = colour;
    update();
}

void ColourSwatch::paintEvent(QPaintEvent*) {
    // The face is filled whole, so only its size shows.
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(0, 0), m_faceSize), colourFromWord(m_colour));
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
    // The swatch is not part of the window's picture: a press on it drags nothing.
    event->accept();
}

} // namespace vantrel
