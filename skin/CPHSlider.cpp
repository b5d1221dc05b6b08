#include "skin/CPHSlider.h"

#include "skin/SkinImage.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace vantrel {

Q_LOGGING_CATEGORY(lcSlider, "vantrel.slider", QtInfoMsg)

CPHSlider::CPHSlider(QImage picture, int travelWidth, int controlId, QWidget* track)
    : QWidget(track), m_picture(std::move(picture)), m_travelWidth(travelWidth),
      m_controlId(controlId) {
    resize(m_picture.size());
    setMask(regionFromCornerColour(m_picture, m_picture.size()));
}

void CPHSlider::setRange(int minimum, int maximum) {
    m_scale.minimum = minimum;
    m_scale.maximum = maximum;
}

void CPHSlider::setValue(int value) {
    m_value = m_scale.clampUnsigned(value);
    move(m_scale.thumbLeft(m_value, span()), 0);
    update();
}

void CPHSlider::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, m_picture);
}

void CPHSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    // The press keeps the pointer's events here until the release.
    m_pressX = event->position().toPoint().x();
    m_dragging = true;
    event->accept();
}

void CPHSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging)
        return QWidget::mouseMoveEvent(event);
    const int oldLeft = x();
    const int moved = event->position().toPoint().x() - m_pressX;
    move(std::clamp(oldLeft + moved, 0, std::max(0, span())), 0);
    // The value is that of the place the thumb has just left.
    m_value = m_scale.dragValue(oldLeft, span());
    emit valueChanged(m_value, m_controlId);
}

void CPHSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    m_dragging = false;
    const double exact = m_scale.releaseValue(x(), span());
    qCDebug(lcSlider, "CPHSlider=%f", exact);
    m_value = m_scale.settle(exact);
    emit valueChanged(m_value, m_controlId);
    if (m_scale.rounding)
        setValue(m_value);
}

} // namespace vantrel
