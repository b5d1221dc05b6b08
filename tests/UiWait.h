#pragma once

#include "tests/Wait.h"

#include <QTest>

namespace vantrel::test {

// Lets queued work (posted closes, monitor messages) run until done or 5 s.
inline bool settle(const std::function<bool()>& done) {
    return waitUntil(done, std::chrono::seconds(5), [] { QTest::qWait(10); });
}

} // namespace vantrel::test
