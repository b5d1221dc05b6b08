#pragma once

#include "skin/SkinPage.h"

#include <cstdint>

namespace vantrel {

class AppContext;

// The lighting page of one effect, in the main window's second page area,
// drawn from its effect's skin; its sliders and colour controls belong here.
class LightingPage final : public SkinPage {
    Q_OBJECT
public:
    LightingPage(AppContext& context, int32_t effect, QWidget* parent);

    int32_t effect() const { return m_effect; }
    void refresh() override { update(); }

private:
    int32_t m_effect;
};

} // namespace vantrel
