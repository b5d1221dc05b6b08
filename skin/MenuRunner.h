#pragma once

#include "skin/Seam.h"

#include <QPoint>

namespace vantrel {

class SkinMenu;

// Shows every pop-up menu of the program. A test answers the next menus in
// advance (with the chosen identifier, 0 for none), so that it never waits in
// a menu's loop.
class MenuRunner final : public Seam<SkinMenu, int> {
public:
    // The chosen identifier: the next answer given in advance, or the user's choice.
    int run(SkinMenu& menu, const QPoint& globalPos);
};

} // namespace vantrel
