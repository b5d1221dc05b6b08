#include "skin/ShapedButton.h"

namespace vantrel {

ShapedButton::ShapedButton(const QString& caption, const QRect& rect, const QString& maskFile,
                           QWidget* parent)
    : SkinButton(parent) {
    setText(caption);
    setGeometry(rect);
    const std::optional<QRegion> outline = regionFromMask(SkinImage(QImage(maskFile)));
    m_outline = outline ? *outline : QRegion(0, 0, rect.width(), rect.height());
    // Pointer events outside the outline go to whatever lies beneath.
    setMask(m_outline);
}

bool ShapedButton::hitButton(const QPoint& pos) const {
    return m_outline.contains(pos);
}

} // namespace vantrel
