#pragma once

#include "skin/SkinnedDialog.h"

#include <cstdint>

namespace vantrel {

class AppContext;

// The lighting page of one effect, in the main window's second page area,
// drawn from its effect's skin; its sliders and colour controls belong here.
class LightingPage final : public SkinnedDialog {
    Q_OBJECT
public:
    LightingPage(AppContext& context, int32_t effect, QWidget* parent);

    int32_t effect() const { return m_effect; }
    // Shows the current profile's values.
    void refresh() { update(); }

private:
    int32_t m_effect;
};

} // namespace vantrel
