#pragma once

#include <QDialog>

#include <deque>
#include <functional>

namespace vantrel {

// Runs every modal dialog of the program. A test answers the next dialogs in
// advance, so that it never waits in a modal loop.
class DialogRunner final {
public:
    // Gets the built dialog and gives its result in place of the user.
    using Answer = std::function<int(QDialog&)>;

    void answerNext(Answer answer);
    void answerNext(int result);
    bool hasPendingAnswers() const { return !m_answers.empty(); }

    // The dialog's result: the next answer given in advance, or what the user does.
    int run(QDialog& dialog);

private:
    std::deque<Answer> m_answers;
};

} // namespace vantrel
