#pragma once

#include "skin/SkinPage.h"

namespace vantrel {

class AppContext;

// The keyboard picture in the main window's first page area. Its key buttons
// and key function menu belong here; the main window switches it between key
// mode and lighting mode.
class KeyAssignmentPage final : public SkinPage {
    Q_OBJECT
public:
    enum class Look { Keys = 0, Lighting = 1 };

    KeyAssignmentPage(AppContext& context, QWidget* parent);

    void setKeyboardLook(Look look);
    Look keyboardLook() const { return m_look; }
    // Shows what each key of the current profile does.
    void refreshKeyLabels() { update(); }
    void refresh() override { refreshKeyLabels(); }

private:
    Look m_look = Look::Keys;
};

} // namespace vantrel
