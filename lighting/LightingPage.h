#pragma once

#include "skin/SkinPage.h"

#include <QString>

#include <cstdint>

namespace vantrel {

class AppContext;
struct EffectPageEntry;
struct ProfileRecord;

// The lighting page of one effect, in the main window's second page area:
// an effect page (effects 0..12) or a DIY page (51..55).
class LightingPage : public SkinPage {
    Q_OBJECT
public:
    LightingPage(AppContext& context, int32_t effect, QWidget* parent);

    int32_t effect() const;

    // "0%" for level 0 up to "90%" for 9; every other level is "100%".
    static QString percentageText(int level);

protected:
    AppContext& m_context;
    const EffectPageEntry& m_entry;
};

} // namespace vantrel
