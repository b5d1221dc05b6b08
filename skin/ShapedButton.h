#pragma once

#include "skin/SkinImage.h"

#include <QAbstractButton>

namespace vantrel {

// A button whose outline comes from a mask picture, such as the keyboard's
// Enter key, which is not rectangular. Only the outline takes the pointer:
// it is lit while the pointer is over it, pressed while the left button is
// held inside it, and it clicks only when the button is released inside it.
class ShapedButton final : public QAbstractButton {
    Q_OBJECT
public:
    // A button at rect whose outline is every pixel of maskFile that is not
    // exactly white; without a readable mask it stays rectangular. The caption
    // names the button; its pictures show the key.
    ShapedButton(const QString& caption, const QRect& rect, const QString& maskFile,
                 QWidget* parent);

    // Cuts the four pictures at rect out of the window's full-window pictures.
    void setPicturesFromSkin(const QRect& rect, const SkinPictures& windowPictures);
    const SkinPictures& pictures() const { return m_pictures; }

    // The tooltip text; an inactive hint shows no tooltip.
    void setHintText(const QString& text, bool active);
    const QString& hintText() const { return m_hintText; }

    const QRegion& outline() const { return m_outline; }
    bool hover() const { return m_hover; }

    QSize sizeHint() const override;

protected:
    bool hitButton(const QPoint& pos) const override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    SkinPictures m_pictures;
    QRegion m_outline;
    QString m_hintText;
    bool m_hover = false;
};

} // namespace vantrel
