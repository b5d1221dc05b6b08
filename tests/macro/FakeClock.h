#pragma once

#include "macro/Clock.h"

namespace vantrel::test {

// A clock that stands still until a test moves it.
class FakeClock final : public Clock {
public:
    uint32_t milliseconds() const override { return now; }
    uint32_t now = 100000;
};

} // namespace vantrel::test
