#include "lighting/LightingPage.h"

#include "lighting/EffectTable.h"
#include "skin/AppContext.h"
#include "skin/SkinWindowKind.h"

namespace vantrel {

LightingPage::LightingPage(AppContext& context, int32_t effect, QWidget* parent)
    : SkinPage(context.skinsFolder(), EffectTable::pageOf(effect).skinFile,
               SkinWindowKinds::kLightingPage, parent),
      m_effect(effect) {
    setObjectName(QStringLiteral("lightingPage%1").arg(effect));
}

} // namespace vantrel
