#include "skin/ShapedButton.h"

#include <QGuiApplication>
#include <QPainter>

namespace vantrel {

ShapedButton::ShapedButton(const QString& caption, const QRect& rect, const QString& maskFile,
                           QWidget* parent)
    : QAbstractButton(parent) {
    setText(caption);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(rect);
    const std::optional<QRegion> outline = regionFromMask(SkinImage(QImage(maskFile)));
    m_outline = outline ? *outline : QRegion(0, 0, rect.width(), rect.height());
    // Pointer events outside the outline go to whatever lies beneath.
    setMask(m_outline);
}

void ShapedButton::setPicturesFromSkin(const QRect& rect, const SkinPictures& windowPictures) {
    m_pictures.normal = cutPicture(windowPictures.normal, rect);
    m_pictures.over = cutPicture(windowPictures.over, rect);
    m_pictures.down = cutPicture(windowPictures.down, rect);
    m_pictures.disabled = cutPicture(windowPictures.disabled, rect);
    update();
}

void ShapedButton::setHintText(const QString& text, bool active) {
    m_hintText = text;
    setToolTip(active ? text : QString());
}

QSize ShapedButton::sizeHint() const {
    return m_pictures.normal.size();
}

bool ShapedButton::hitButton(const QPoint& pos) const {
    return m_outline.contains(pos);
}

void ShapedButton::paintEvent(QPaintEvent*) {
    const SkinImage* picture = &m_pictures.normal;
    if (!isEnabled())
        picture = &m_pictures.disabled;
    else if (isDown())
        picture = &m_pictures.down;
    else if (m_hover)
        picture = &m_pictures.over;
    QPainter(this).drawImage(0, 0, picture->image());
}

void ShapedButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    // A press that started elsewhere does not light the button.
    if (QGuiApplication::mouseButtons() & Qt::LeftButton)
        return;
    m_hover = true;
    update();
}

void ShapedButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    if (m_hover) {
        m_hover = false;
        update();
    }
}

void ShapedButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            m_hover = false;
        update();
    }
}

} // namespace vantrel
