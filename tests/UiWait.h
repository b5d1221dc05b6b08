#pragma once

#include "tests/Wait.h"

#include <QTest>

namespace vantrel::test {

// Lets queued work (posted closes, monitor messages) run until done or 5 s.
inline bool settle(const std::function<bool()>& done) {
    return waitUntil(done, std::chrono::seconds(5), [] { QTest::qWait(10); });
}

// Handles what has been posted, and what that posts in turn, a few rounds deep.
inline void handlePosted() {
    for (int round = 0; round < 4; ++round)
        QCoreApplication::processEvents();
}

} // namespace vantrel::test
