#include "keys/KeyFunctionMenu.h"

#include "keys/KeyFunctionTable.h"
#include "settings/LanguageStrings.h"
#include "skin/SkinFonts.h"

#include <QAction>

namespace vantrel {

KeyFunctionMenu::KeyFunctionMenu(const LanguageStrings& strings) : m_top(SkinFonts::keyMenu()) {
    const auto text = [&strings](int id) { return QString::fromStdString(strings.text(id)); };
    m_top.setItemWidth(kTopWidth);
    // Submenus first, so that the top level can point at them in its order.
    for (const KeyFunctionRow& row : KeyFunctionTable::rows()) {
        if (row.kind == KeyFunctionRow::Kind::Submenu) {
            auto menu = std::make_unique<SkinMenu>(SkinFonts::keyMenu());
            menu->setItemWidth(kSubmenuWidth);
            m_submenus[row.text] = std::move(menu);
        }
    }
    for (const KeyFunctionRow& row : KeyFunctionTable::rows()) {
        SkinMenu& into = row.parent == 0 ? m_top : *m_submenus.at(row.parent);
        switch (row.kind) {
        case KeyFunctionRow::Kind::Item:
            into.appendItem(row.command, text(row.text));
            break;
        case KeyFunctionRow::Kind::Separator:
            into.appendItem(SkinMenu::kSeparator, QString());
            break;
        case KeyFunctionRow::Kind::Submenu:
            into.appendItem(0, text(row.text), m_submenus.at(row.text).get());
            break;
        case KeyFunctionRow::Kind::Unlisted:
            break;
        }
    }
}

SkinMenu* KeyFunctionMenu::submenu(int text) const {
    const auto found = m_submenus.find(text);
    return found == m_submenus.end() ? nullptr : found->second.get();
}

} // namespace vantrel
