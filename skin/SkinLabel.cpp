#include "skin/SkinLabel.h"

#include "skin/CellFont.h"
#include "skin/ColourWord.h"

#include <QPainter>

namespace vantrel {

namespace {

constexpr uint32_t kGroundColour = 0x020202;

} // namespace

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
    m_font = cellFont(QStringLiteral("Arial"), 12, compact ? 5 : 7);
    update();
}

void SkinLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), colourFromWord(kGroundColour));
    painter.setPen(Qt::white);
    painter.setFont(m_font);
    const int alignment = m_compact ? Qt::AlignLeft : Qt::AlignHCenter;
    painter.drawText(rect(), alignment | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
}

} // namespace vantrel
