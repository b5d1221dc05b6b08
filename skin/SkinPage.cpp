#include "skin/SkinPage.h"

namespace vantrel {

SkinPage::SkinPage(std::string skinsFolder, std::string_view skinFile, const SkinWindowKind& kind,
                   QWidget* parent)
    : SkinnedDialog(std::move(skinsFolder), skinFile, kind, parent) {}

} // namespace vantrel
