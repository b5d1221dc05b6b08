#include "skin/ShapedButton.h"

namespace vantrel {

ShapedButton::ShapedButton(const QString& caption, const QRect& rect, const QString& maskFile,
                           QWidget* parent)
    : SkinButton(parent) {
    setText(caption);
    setGeometry(rect);
    const std::optional<QRegion> outline = regionFromMask(SkinImage(loadProgramPicture(maskFile)));
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
