#include "skin/SkinButton.h"

#include "skin/ColourWord.h"
#include "skin/Palette.h"
#include "skin/SkinFonts.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace vantrel {

SkinButton::SkinButton(QWidget* parent) : QAbstractButton(parent) {
    // Skinned buttons are worked with the mouse; keys belong to the window.
    setFocusPolicy(Qt::NoFocus);
    setCheckable(true);
}

void SkinButton::setPicturesFromSkin(const QRect& rect, const SkinPictures& windowPictures) {
    m_pictures.normal = cutPicture(windowPictures.normal, rect);
    m_pictures.over = cutPicture(windowPictures.over, rect);
    m_pictures.down = cutPicture(windowPictures.down, rect);
    m_pictures.disabled = cutPicture(windowPictures.disabled, rect);
    update();
}

void SkinButton::setPictures(const SkinPictures& pictures) {
    m_pictures = pictures;
    update();
}

void SkinButton::setHintText(const QString& text, bool active) {
    m_hintText = text;
    setToolTip(active ? text : QString());
}

QSize SkinButton::sizeHint() const {
    return m_pictures.normal.size();
}

const SkinImage& SkinButton::statePicture() const {
    if (!isEnabled())
        return m_pictures.disabled;
    if (isChecked() || (!m_toggleMode && isDown()))
        return m_pictures.down;
    if (m_hover)
        return m_pictures.over;
    return m_pictures.normal;
}

void SkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const SkinImage& picture = statePicture();
    if (picture.isEmpty()) {
        // No picture to show (its window's skin is damaged): a plain button
        // with its name, so that it can still be found and pressed.
        const bool lit = isChecked() || isDown() || m_hover;
        painter.fillRect(rect(), colourFromWord(lit ? Palette::kSelection : Palette::kGroundDeep));
        painter.setPen(colourFromWord(Palette::kLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        painter.setPen(colourFromWord(isEnabled() ? Palette::kText : Palette::kTextDisabled));
        painter.setFont(SkinFonts::cell());
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(text(), Qt::ElideRight, width() - 4));
    } else {
        painter.drawImage(0, 0, picture.image());
    }
    if (m_caption.isEmpty())
        return;
    const QFont font = SkinFonts::caption();
    painter.setFont(font);
    painter.setPen(Qt::white);
    const QFontMetrics metrics(font);
    const int top = height() / 2 - metrics.height() / 2;
    painter.drawText(5, top + metrics.ascent(), m_caption);
}

void SkinButton::enterEvent(QEnterEvent* event) {
    QAbstractButton::enterEvent(event);
    // A press that started elsewhere does not light the button, and nothing
    // lights while the program has no active window.
    if ((QGuiApplication::mouseButtons() & Qt::LeftButton) || !QApplication::activeWindow())
        return;
    m_hover = true;
    update();
}

void SkinButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    if (m_hover) {
        m_hover = false;
        update();
    }
}

void SkinButton::mousePressEvent(QMouseEvent* event) {
    // A click on a button of a window in the background brings that window forward.
    if (event->button() == Qt::LeftButton && !window()->isActiveWindow())
        window()->activateWindow();
    QAbstractButton::mousePressEvent(event);
}

void SkinButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    // While held, the button is lit only with the pointer over it.
    if (event->buttons() & Qt::LeftButton) {
        const bool inside = hitButton(event->position().toPoint());
        if (inside != m_hover) {
            m_hover = inside;
            update();
        }
    }
}

void SkinButton::nextCheckState() {
    // A push button stays as its window set it; only a toggle flips.
    if (m_toggleMode)
        QAbstractButton::nextCheckState();
}

void SkinButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            m_hover = false;
        update();
    }
}

} // namespace vantrel
