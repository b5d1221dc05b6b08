#include "skin/SkinMenu.h"

#include <QStyle>

namespace vantrel {

namespace {

QAction* findAction(const QMenu& menu, int identifier) {
    for (QAction* action : menu.actions()) {
        if (const QMenu* submenu = action->menu<QMenu*>()) {
            if (QAction* inner = findAction(*submenu, identifier))
                return inner;
        } else if (const auto item = SkinMenu::itemOf(action);
                   item && item->identifier == identifier) {
            return action;
        }
    }
    return nullptr;
}

} // namespace

SkinMenu::SkinMenu(std::optional<QFont> font) {
    if (font)
        m_menu.setFont(*font);
}

void SkinMenu::setItemWidth(int width) {
    const QStyle* style = m_menu.style();
    const int edges = style->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, &m_menu) +
                      style->pixelMetric(QStyle::PM_MenuHMargin, nullptr, &m_menu);
    m_menu.setMinimumWidth(width + 2 * edges);
}

void SkinMenu::appendItem(int identifier, const QString& text, SkinMenu* submenu, int highlight,
                          int trademark) {
    QAction* action = nullptr;
    if (submenu) {
        action = m_menu.addMenu(&submenu->m_menu);
        action->setText(text);
    } else if (identifier == kSeparator) {
        action = m_menu.addSeparator();
    } else {
        action = m_menu.addAction(text);
        action->setVisible(identifier != kHidden);
    }
    action->setData(QVariant::fromValue(SkinMenuItem{identifier, highlight == 1, trademark == 1}));
}

int SkinMenu::exec(const QPoint& globalPos) {
    const std::optional<SkinMenuItem> chosen = itemOf(m_menu.exec(globalPos));
    return chosen ? chosen->identifier : 0;
}

QAction* SkinMenu::action(int identifier) const {
    return findAction(m_menu, identifier);
}

std::optional<SkinMenuItem> SkinMenu::itemOf(const QAction* action) {
    if (!action || !action->data().canConvert<SkinMenuItem>())
        return std::nullopt;
    return action->data().value<SkinMenuItem>();
}

} // namespace vantrel
