#include "lighting/LightingPage.h"

#include "skin/AppContext.h"
#include "lighting/EffectTable.h"
#include "skin/SkinWindowKind.h"

namespace vantrel {

LightingPage::LightingPage(AppContext& context, int32_t effect, QWidget* parent)
    : SkinnedDialog(context.skinsFolder(), EffectTable::skinFile(effect),
                    SkinWindowKinds::kLightingPage, parent),
      m_effect(effect) {
    setObjectName(QStringLiteral("lightingPage%1").arg(effect));
    releaseStatePictures();
}

} // namespace vantrel
