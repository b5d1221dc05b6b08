#include "skin/MenuRunner.h"

#include "skin/SkinMenu.h"

namespace vantrel {

void MenuRunner::answerNext(Answer answer) {
    m_answers.push_back(std::move(answer));
}

void MenuRunner::answerNext(int identifier) {
    answerNext([identifier](SkinMenu&) { return identifier; });
}

int MenuRunner::run(SkinMenu& menu, const QPoint& globalPos) {
    if (m_answers.empty())
        return menu.exec(globalPos);
    const Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer(menu);
}

} // namespace vantrel
