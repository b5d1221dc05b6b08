#include "skin/DialogRunner.h"

namespace vantrel {

void DialogRunner::answerNext(Answer answer) {
    m_answers.push_back(std::move(answer));
}

void DialogRunner::answerNext(int result) {
    answerNext([result](QDialog&) { return result; });
}

int DialogRunner::run(QDialog& dialog) {
    if (m_answers.empty())
        return dialog.exec();
    const Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer(dialog);
}

} // namespace vantrel
