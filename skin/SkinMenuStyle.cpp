#include "skin/SkinMenuStyle.h"

#include "skin/ColourWord.h"
#include "skin/Palette.h"
#include "skin/ProgramPictures.h"
#include "skin/SkinFonts.h"
#include "skin/SkinImage.h"
#include "skin/SkinMenu.h"

#include <QMenu>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace vantrel {

const QColor SkinMenuStyle::kBackColour = colourFromWord(Palette::kMenuGround);
const QColor SkinMenuStyle::kSelectedBackColour = colourFromWord(Palette::kMenuSelectedGround);
const QColor SkinMenuStyle::kLineColour = colourFromWord(Palette::kMenuLine);
const QColor SkinMenuStyle::kTextColour = colourFromWord(Palette::kMenuText);
const QColor SkinMenuStyle::kSelectedTextColour = colourFromWord(Palette::kMenuText);
const QColor SkinMenuStyle::kHighlightColour = colourFromWord(Palette::kHighlight);
const QColor SkinMenuStyle::kDisabledTextColour = colourFromWord(Palette::kMenuDisabledText);

namespace {

// Room left between the submenu arrow or a shortcut and the right edge.
constexpr int kRightMargin = 4;
constexpr int kTextIndent = 2;
constexpr int kArrowGap = 6;

// The label of an item, without the shortcut that follows a tab.
QString labelOf(const QString& text) {
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? text : text.left(tab);
}

QString shortcutOf(const QString& text) {
    const qsizetype tab = text.indexOf(u'\t');
    return tab < 0 ? QString() : text.mid(tab + 1);
}

} // namespace

SkinMenuStyle::SkinMenuStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))),
      m_arrow(loadProgramPicture(QString::fromLatin1(ProgramPictures::kMenuArrow))) {}

int SkinMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                               const QWidget* widget) const {
    switch (metric) {
    case PM_MenuPanelWidth:
        return kFrameWidth;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 0;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}

QSize SkinMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                      const QSize& size, const QWidget* widget) const {
    if (type == CT_Menu)
        return size;
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    // A menu drops items of no width, so even an empty one is one pixel wide.
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return {1, kSeparatorHeight};
    // The estimate of eight pixels a character, grown where a wide font would
    // not fit the text and a submenu's arrow.
    const QString label = labelOf(item->text);
    const auto estimate = static_cast<int>(label.size()) * kCharacterWidth;
    int needed = kTextIndent + QFontMetrics(item->font).horizontalAdvance(label);
    if (item->menuItemType == QStyleOptionMenuItem::SubMenu)
        needed += kArrowGap + m_arrow.width() + kRightMargin;
    return {std::max({1, estimate, needed}), kItemHeight};
}

void SkinMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                  QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case PE_FrameMenu: {
        painter->save();
        painter->setPen(kBackColour);
        painter->setBrush(Qt::NoBrush);
        QRect ring = option->rect;
        for (int i = 0; i < kFrameWidth; ++i) {
            // A one-pixel rectangle drawn with a cosmetic pen covers its right
            // and bottom edge with width - 1 and height - 1.
            painter->drawRect(ring.adjusted(0, 0, -1, -1));
            ring.adjust(1, 1, -1, -1);
        }
        painter->restore();
        return;
    }
    case PE_PanelMenu:
        painter->fillRect(option->rect, kBackColour);
        return;
    default:
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }
}

void SkinMenuStyle::drawControl(ControlElement element, const QStyleOption* option,
                                QPainter* painter, const QWidget* widget) const {
    switch (element) {
    case CE_MenuItem:
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            drawMenuItem(*item, *painter, widget);
            return;
        }
        break;
    case CE_MenuEmptyArea:
        painter->fillRect(option->rect, kBackColour);
        return;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void SkinMenuStyle::drawMenuItem(const QStyleOptionMenuItem& item, QPainter& painter,
                                 const QWidget* widget) const {
    const QRect& r = item.rect;
    painter.save();
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        painter.fillRect(r, kBackColour);
        painter.setPen(kLineColour);
        const int middle = r.top() + r.height() / 2;
        painter.drawLine(r.left(), middle, r.right(), middle);
        painter.restore();
        return;
    }

    const bool enabled = item.state & State_Enabled;
    const bool selected = enabled && (item.state & State_Selected);
    painter.fillRect(r, selected ? kSelectedBackColour : kBackColour);

    // The menu hands over the item's rectangle only; its action carries the rest.
    const auto* menu = qobject_cast<const QMenu*>(widget);
    const std::optional<SkinMenuItem> record =
        menu ? SkinMenu::itemOf(menu->actionAt(r.center())) : std::nullopt;
    QColor textColour = selected ? kSelectedTextColour : kTextColour;
    if (record && record->highlight)
        textColour = kHighlightColour;
    if (!enabled)
        textColour = kDisabledTextColour;
    painter.setPen(textColour);
    painter.setFont(item.font);

    const QString label = labelOf(item.text);
    const QRect textRect = r.adjusted(kTextIndent, 0, 0, 0);
    constexpr int kLineFlags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    QRect drawn;
    painter.drawText(textRect, Qt::AlignLeft | kLineFlags, label, &drawn);

    if (record && record->trademark) {
        // A small mark at the top of the text line, right after the text.
        const QFont markFont = SkinFonts::menuMark();
        painter.setFont(markFont);
        painter.drawText(drawn.right() + 1, drawn.top() + QFontMetrics(markFont).ascent(),
                         QStringLiteral("TM"));
    }

    const QString shortcut = shortcutOf(item.text);
    if (!shortcut.isEmpty()) {
        painter.setFont(item.font);
        painter.drawText(r.adjusted(0, 0, -kRightMargin, 0), Qt::AlignRight | kLineFlags, shortcut);
    }

    if (item.menuItemType == QStyleOptionMenuItem::SubMenu && !m_arrow.isNull()) {
        const QPoint at(r.right() - kRightMargin - m_arrow.width() + 1,
                        r.top() + (r.height() - m_arrow.height()) / 2);
        painter.drawImage(at, m_arrow);
    }
    painter.restore();
}

} // namespace vantrel
