#pragma once

#include "monitor/Monitor.h"

#include <chrono>
#include <string>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace vantrel::test {

// The real monitor, serving in a thread of the test until it goes out of scope.
class RunningMonitor {
public:
    RunningMonitor(const std::string& runtimeDir, const std::string& programFolder,
                   std::chrono::milliseconds answerDelay = std::chrono::milliseconds(0))
        : m_monitor(runtimeDir, programFolder, programFolder), m_stop(::eventfd(0, EFD_CLOEXEC)) {
        m_monitor.setAnswerDelay(answerDelay);
        published = m_monitor.publish();
        if (published)
            m_thread = std::thread([this] { m_monitor.run(m_stop); });
    }
    ~RunningMonitor() {
        const uint64_t one = 1;
        (void)!::write(m_stop, &one, sizeof one);
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_stop);
    }
    bool published = false;

private:
    Monitor m_monitor;
    int m_stop;
    std::thread m_thread;
};

} // namespace vantrel::test
