#pragma once

#include <QPoint>

#include <deque>
#include <functional>

namespace vantrel {

class SkinMenu;

// Shows every pop-up menu of the program. A test answers the next menus in
// advance, so that it never waits in a menu's loop.
class MenuRunner final {
public:
    // Gets the built menu and gives the chosen identifier (0: none) in place of the user.
    using Answer = std::function<int(SkinMenu&)>;

    void answerNext(Answer answer);
    void answerNext(int identifier);
    bool hasPendingAnswers() const { return !m_answers.empty(); }

    // The chosen identifier: the next answer given in advance, or the user's choice.
    int run(SkinMenu& menu, const QPoint& globalPos);

private:
    std::deque<Answer> m_answers;
};

} // namespace vantrel
