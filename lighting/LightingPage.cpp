#include "lighting/LightingPage.h"

#include "lighting/EffectTable.h"
#include "settings/SharedBlock.h"
#include "skin/AppContext.h"
#include "skin/SkinWindowKind.h"

namespace vantrel {

LightingPage::LightingPage(AppContext& context, int32_t effect, QWidget* parent)
    : SkinPage(context.skinsFolder(), EffectTable::pageOf(effect).skinFile,
               SkinWindowKinds::kLightingPage, parent),
      m_context(context), m_entry(EffectTable::pageOf(effect)) {
    setObjectName(QStringLiteral("lightingPage%1").arg(m_entry.effect));
}

int32_t LightingPage::effect() const {
    return m_entry.effect;
}

QString LightingPage::percentageText(int level) {
    return level >= 0 && level <= 9 ? QStringLiteral("%1%").arg(level * 10)
                                    : QStringLiteral("100%");
}

} // namespace vantrel
