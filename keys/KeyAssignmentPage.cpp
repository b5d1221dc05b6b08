#include "keys/KeyAssignmentPage.h"

#include "skin/AppContext.h"
#include "skin/SkinWindowKind.h"

namespace vantrel {

KeyAssignmentPage::KeyAssignmentPage(AppContext& context, QWidget* parent)
    : SkinPage(context.skinsFolder(), "skin_main.ini", SkinWindowKinds::kKeyAssignmentPage,
               parent) {
    setObjectName(QStringLiteral("keyAssignmentPage"));
}

void KeyAssignmentPage::setKeyboardLook(Look look) {
    m_look = look;
    update();
}

} // namespace vantrel
