#include "skin/CellFont.h"

#include <QFontMetricsF>

#include <cmath>

namespace vantrel {

QFont cellFont(const QString& face, int height, int averageWidth) {
    QFont font(face);
    font.setPixelSize(height);
    font.setWeight(QFont::Normal);
    if (averageWidth > 0) {
        const qreal natural = QFontMetricsF(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(static_cast<int>(std::lround(100.0 * averageWidth / natural)));
    }
    return font;
}

} // namespace vantrel
