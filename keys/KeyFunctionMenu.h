#pragma once

#include "skin/SkinMenu.h"

#include <map>
#include <memory>

namespace vantrel {

class LanguageStrings;

// The menu of functions a key can take, built from the key function table:
// the top level 110 pixels wide, each submenu 180.
class KeyFunctionMenu final {
public:
    static constexpr int kTopWidth = 110;
    static constexpr int kSubmenuWidth = 180;

    explicit KeyFunctionMenu(const LanguageStrings& strings);

    SkinMenu& menu() { return m_top; }
    // The submenu of a top-level entry, by its text string; nullptr for none.
    SkinMenu* submenu(int text) const;

private:
    SkinMenu m_top;
    std::map<int, std::unique_ptr<SkinMenu>> m_submenus;
};

} // namespace vantrel
