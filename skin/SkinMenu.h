#pragma once

#include <QMenu>

#include <optional>

namespace vantrel {

// What a menu item carries beyond its text, for the menu style to draw it.
struct SkinMenuItem {
    // The command chosen with the item; 0 is a separator, 1 a hidden item.
    int identifier = 0;
    // Drawn in the highlight colour whether or not the item is selected.
    bool highlight = false;
    // A small "TM" follows the text.
    bool trademark = false;
};

// Builds one of the program's pop-up menus. SkinMenuStyle draws it.
class SkinMenu final {
public:
    static constexpr int kSeparator = 0;
    static constexpr int kHidden = 1;

    // The item texts are drawn in font, or in the menu's own one.
    explicit SkinMenu(std::optional<QFont> font = std::nullopt);

    // Every item is at least this wide.
    void setItemWidth(int width);

    // Identifier 0 appends a separator and 1 an item that takes no room. An
    // item with a submenu opens it (submenu must outlive this menu's use);
    // highlight and trademark take 1 for on, any other value for off.
    void appendItem(int identifier, const QString& text, SkinMenu* submenu = nullptr,
                    int highlight = -1, int trademark = 0);

    // Shows the menu at globalPos until the user chooses or leaves it: the
    // identifier of the chosen item, 0 when none. Windows go through MenuRunner.
    int exec(const QPoint& globalPos);

    // The action of the item with identifier, here or in a submenu.
    QAction* action(int identifier) const;

    QMenu& menu() { return m_menu; }
    const QMenu& menu() const { return m_menu; }

    // The item record an action of a SkinMenu carries, if it is one.
    static std::optional<SkinMenuItem> itemOf(const QAction* action);

private:
    QMenu m_menu;
};

} // namespace vantrel

Q_DECLARE_METATYPE(vantrel::SkinMenuItem)
