#pragma once

#include "skin/SkinButton.h"

namespace vantrel {

// A skinned button whose outline comes from a mask picture, such as the
// keyboard's Enter key, which is not rectangular. Only the outline takes the
// pointer: it is lit while the pointer is over it, pressed while the left
// button is held inside it, and it clicks only when released inside it.
class ShapedButton final : public SkinButton {
    Q_OBJECT
public:
    // A button at rect whose outline is every pixel of maskFile, stretched to
    // rect's size, that is not exactly white; without a readable mask it stays
    // rectangular. The caption names the button; its pictures show the key.
    ShapedButton(const QString& caption, const QRect& rect, const QString& maskFile,
                 QWidget* parent);

    const QRegion& outline() const { return m_outline; }

protected:
    bool hitButton(const QPoint& pos) const override;
    // Checked shows the pressed picture even when disabled.
    const SkinImage& statePicture() const override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRegion m_outline;
};

} // namespace vantrel
