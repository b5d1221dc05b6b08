#include "skin/MenuRunner.h"

#include "skin/SkinMenu.h"

namespace vantrel {

int MenuRunner::run(SkinMenu& menu, const QPoint& globalPos) {
    return answerOr(menu, [&menu, &globalPos] { return menu.exec(globalPos); });
}

} // namespace vantrel
