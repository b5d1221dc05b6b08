#include "keys/KeyAssignmentPage.h"

#include "skin/AppContext.h"
#include "skin/SkinWindowKind.h"

namespace vantrel {

KeyAssignmentPage::KeyAssignmentPage(AppContext& context, QWidget* parent)
    : SkinnedDialog(context.skinsFolder(), "skin_main.ini", SkinWindowKinds::kKeyAssignmentPage,
                    parent) {
    setObjectName(QStringLiteral("keyAssignmentPage"));
    releaseStatePictures();
}

void KeyAssignmentPage::setKeyboardLook(Look look) {
    m_look = look;
    update();
}

} // namespace vantrel
