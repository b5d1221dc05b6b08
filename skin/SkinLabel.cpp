#include "skin/SkinLabel.h"

#include "skin/ColourWord.h"
#include "skin/Palette.h"
#include "skin/SkinFonts.h"

#include <QPainter>

namespace vantrel {

SkinLabel::SkinLabel(const QRect& rect, QWidget* parent) : QWidget(parent) {
    setGeometry(rect);
    setCompact(false);
}

void SkinLabel::setText(const QString& text) {
    m_text = text;
    update();
}

void SkinLabel::setCompact(bool compact) {
    m_compact = compact;
    m_font = SkinFonts::label(compact);
    update();
}

void SkinLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colourFromWord(Palette::kLabelGround));
    painter.setPen(colourFromWord(Palette::kLabelText));
    painter.setFont(m_font);
    const int alignment = m_compact ? Qt::AlignLeft : Qt::AlignHCenter;
    painter.drawText(rect(), alignment | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

} // namespace vantrel
