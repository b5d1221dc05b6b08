#include "skin/CclickHSlider.h"

#include "skin/CPHSlider.h"

#include <QMouseEvent>
#include <QPainter>

namespace vantrel {

CclickHSlider* CclickHSlider::create(const std::string& thumbFile, const QRect& rect, QWidget* page,
                                     int controlId) {
    std::optional<QImage> thumbPicture = loadBitmapFile(thumbFile);
    if (!thumbPicture)
        return nullptr;
    return new CclickHSlider(std::move(*thumbPicture), rect, page, controlId);
}

CclickHSlider::CclickHSlider(QImage thumbPicture, const QRect& rect, QWidget* page, int controlId)
    : QWidget(page), m_thumb(new CPHSlider(std::move(thumbPicture), rect.width(), controlId, this)),
      m_controlId(controlId) {
    setGeometry(rect);
    // The thumb posts to the track, which passes every notice on as its own.
    connect(m_thumb, &CPHSlider::valueChanged, this, &CclickHSlider::onThumbMoved,
            Qt::QueuedConnection);
    m_thumb->setValue(0);
}

void CclickHSlider::setBackground(const QRect& rect, const SkinImage& pagePicture) {
    m_background = cutPicture(pagePicture, rect);
    update();
}

void CclickHSlider::setRange(int minimum, int maximum) {
    m_thumb->setRange(minimum, maximum);
}

void CclickHSlider::setRounding(bool rounding) {
    m_thumb->setRounding(rounding);
}

void CclickHSlider::setValue(int value) {
    m_thumb->setValue(value);
    update();
}

int CclickHSlider::value() const {
    return m_thumb->value();
}

void CclickHSlider::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, m_background.image());
}

void CclickHSlider::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !rect().contains(at))
        return QWidget::mouseReleaseEvent(event);
    const SliderScale& scale = m_thumb->scale();
    const double exact = scale.clickValue(at.x(), width());
    qCDebug(lcSlider, "CclickHSlider=%f", exact);
    const int value = scale.settle(exact);
    m_thumb->setValue(value);
    emit valueChanged(value, m_controlId);
}

void CclickHSlider::onThumbMoved(int value) {
    emit valueChanged(value, m_controlId);
}

} // namespace vantrel
