#pragma once

#include <deque>
#include <functional>
#include <utility>

namespace vantrel {

// Where the program waits for the user (a modal dialog, a menu, a file
// dialog), made answerable in advance: a test queues the next answers, and the
// program takes them instead of waiting.
template <typename Subject, typename Result> class Seam {
public:
    // Gets what the user would have seen and gives the result in their place.
    using Answer = std::function<Result(Subject&)>;

    void answerNext(Answer answer) { m_answers.push_back(std::move(answer)); }
    void answerNext(Result result) {
        answerNext([result](Subject&) { return result; });
    }
    bool hasPendingAnswers() const { return !m_answers.empty(); }

protected:
    // The next answer given in advance, or what the user gives through live.
    template <typename Live> Result answerOr(Subject& subject, Live&& live) {
        if (m_answers.empty())
            return live();
        const Answer answer = std::move(m_answers.front());
        m_answers.pop_front();
        return answer(subject);
    }

private:
    std::deque<Answer> m_answers;
};

} // namespace vantrel
