#include "lighting/ColourValueBox.h"

#include "settings/TextField.h"
#include "skin/BitmapEdit.h"
#include "skin/ColourWord.h"
#include "skin/Palette.h"

#include <QMouseEvent>
#include <QPainter>

namespace vantrel {

ColourValueBox::ColourValueBox(const QRect& rect, int identifier, QWidget* owner)
    : QWidget(owner), m_identifier(identifier), m_edit(new BitmapEdit(this)) {
    setGeometry(rect);
    m_edit->setGeometry(1, 1, rect.width() - 1, rect.height() - 1);
    m_edit->setAlignment(Qt::AlignCenter);
    m_edit->setColours(colourFromWord(Palette::kColourBoxText),
                       colourFromWord(Palette::kColourBoxGround));
    m_edit->setDigitsOnly(true);
    // The edit's notices are posted: each is handled after the change that
    // caused it, with the text as it then is.
    connect(m_edit, &BitmapEdit::killFocus, this, &ColourValueBox::validate, Qt::QueuedConnection);
    connect(m_edit, &BitmapEdit::enterReleased, this, &ColourValueBox::validateEnter,
            Qt::QueuedConnection);
    show();
}

void ColourValueBox::setPicturesFromSkin(const QRect& rect, const SkinPictures& windowPictures) {
    m_pictures = {cutPicture(windowPictures.normal, rect), cutPicture(windowPictures.over, rect),
                  cutPicture(windowPictures.down, rect), cutPicture(windowPictures.disabled, rect)};
    update();
}

void ColourValueBox::setRange(int minimum, int maximum) {
    m_scale.minimum = minimum;
    m_scale.maximum = maximum;
    m_edit->setMaxLength(m_scale.characterLimit());
    m_edit->setAllowSign(m_scale.allowsSign());
}

void ColourValueBox::setStep(int step) {
    m_scale.step = step;
}

void ColourValueBox::setValue(int value) {
    m_value = value;
    const QString digits = QString::number(value);
    if (m_edit->text() != digits)
        m_edit->setText(digits);
}

void ColourValueBox::validate() {
    const int a = leadingNumber(m_edit->text().toStdString());
    const int b = m_scale.rounded(a);
    m_value = b;
    if (a != b)
        m_edit->setText(QString::number(b));
    emit valueSet(b, m_identifier);
}

void ColourValueBox::validateEnter() {
    const ValueBoxScale::EnterOutcome outcome =
        m_scale.afterEnter(m_edit->text().toStdString(), m_value);
    if (outcome.rewrite)
        m_edit->setText(QString::number(outcome.value));
    m_value = outcome.value;
    if (outcome.notify)
        emit valueSet(outcome.value, m_identifier);
}

void ColourValueBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_pictures.normal.image());
}

void ColourValueBox::mousePressEvent(QMouseEvent* event) {
    // A press on the box's edge is the box's own; it does not drag the window.
    event->accept();
}

} // namespace vantrel
