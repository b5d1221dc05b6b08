#pragma once

#include "skin/SkinnedDialog.h"

namespace vantrel {

// A child page of the main window (the keyboard page, the lighting pages):
// drawn from its skin like every window, placed in a page area, shown and
// hidden by the main window, and told to show the current profile again.
class SkinPage : public SkinnedDialog {
    Q_OBJECT
public:
    SkinPage(std::string skinsFolder, std::string_view skinFile, const SkinWindowKind& kind,
             QWidget* parent);

    // Shows the values of the current profile of the edited settings.
    virtual void refresh() = 0;
};

} // namespace vantrel
