#include "skin/ShapedButton.h"

namespace vantrel {

ShapedButton::ShapedButton(const QString& caption, const QRect& rect, const QString& maskFile,
                           QWidget* parent)
    : SkinButton(parent) {
    setText(caption);
    setGeometry(rect);
    QImage mask(maskFile);
    // The outline spans the rectangle the skin gives the button, whatever
    // size the mask was drawn at, so no strip of the button is left dead.
    if (!mask.isNull() && mask.size() != rect.size())
        mask = mask.scaled(rect.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const std::optional<QRegion> outline = regionFromMask(SkinImage(mask));
    m_outline = outline ? *outline : QRegion(0, 0, rect.width(), rect.height());
    // Pointer events outside the outline go to whatever lies beneath.
    setMask(m_outline);
}

bool ShapedButton::hitButton(const QPoint& pos) const {
    return m_outline.contains(pos);
}

const SkinImage& ShapedButton::statePicture() const {
    if (isChecked())
        return pictures().down;
    if (!isEnabled())
        return pictures().disabled;
    if (isDown())
        return pictures().down;
    return hover() ? pictures().over : pictures().normal;
}

void ShapedButton::mouseReleaseEvent(QMouseEvent* event) {
    SkinButton::mouseReleaseEvent(event);
    // After a release the key shows its normal look until the pointer moves again.
    setHover(false);
    update();
}

} // namespace vantrel
