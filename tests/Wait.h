#pragma once

#include <chrono>
#include <functional>
#include <thread>

namespace vantrel::test {

// Polls done until it holds or limit has passed; idle runs between polls
// (a short sleep, or a window test's event processing).
inline bool waitUntil(
    const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(5),
    const std::function<void()>& idle = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        idle();
    }
    return true;
}

} // namespace vantrel::test
