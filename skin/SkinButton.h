#pragma once

#include "skin/SkinImage.h"

#include <QAbstractButton>

namespace vantrel {

// The button of every skinned window, drawn from four pictures cut out of its
// window's full-window pictures: normal, hover, pressed and disabled. It can
// carry a caption, work as a two-state button and show a hint as tooltip.
// Windows tell their buttons apart by connecting each one's clicked signal.
class SkinButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit SkinButton(QWidget* parent = nullptr);

    // Cuts the four pictures at rect out of the window's full-window pictures.
    void setPicturesFromSkin(const QRect& rect, const SkinPictures& windowPictures);
    // Shows another set of four pictures, such as a key's assigned look.
    void setPictures(const SkinPictures& pictures);
    const SkinPictures& pictures() const { return m_pictures; }

    // Lights the button as if hovered, without repainting.
    void setHover(bool hover) { m_hover = hover; }
    bool hover() const { return m_hover; }

    // Drawn in white, 5 pixels from the left, centred vertically; the caller repaints.
    void setCaption(const QString& caption) { m_caption = caption; }
    const QString& caption() const { return m_caption; }

    // Every skinned button can be checked (setChecked), which latches its
    // pressed look; in toggle mode every click flips it before it is sent.
    void setToggleMode(bool on) { m_toggleMode = on; }
    bool toggleMode() const { return m_toggleMode; }

    // The tooltip text; an inactive hint shows no tooltip.
    void setHintText(const QString& text, bool active);
    const QString& hintText() const { return m_hintText; }

    QSize sizeHint() const override;

protected:
    // The picture for the present state: disabled, then checked (or held in
    // push mode), then hover, then normal.
    virtual const SkinImage& statePicture() const;

    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void nextCheckState() override;

private:
    SkinPictures m_pictures;
    QString m_caption;
    QString m_hintText;
    bool m_toggleMode = false;
    bool m_hover = false;
};

} // namespace vantrel
