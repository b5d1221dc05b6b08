#include "skin/SkinFonts.h"

#include <QFontMetricsF>

#include <cmath>

namespace vantrel::SkinFonts {

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

QFont cell() {
    return cellFont(QStringLiteral("Arial"), 14, 6);
}

QFont caption() {
    return cell();
}

QFont version() {
    return cellFont(QStringLiteral("Arial"), 12);
}

QFont label(bool compact) {
    return cellFont(QStringLiteral("Arial"), 12, compact ? 5 : 7);
}

QFont menuMark() {
    return cellFont(QStringLiteral("Eurostile"), 8);
}

QFont keyMenu() {
    QFont font = cellFont(QStringLiteral("SimSun"), 14);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QFont macroMenu() {
    return cellFont(QStringLiteral("Arial"), 14);
}

QFont macroList() {
    QFont font = cellFont(QStringLiteral("Eurostile"), 12);
    font.setWeight(QFont::Light);
    return font;
}

} // namespace vantrel::SkinFonts
