#pragma once

#include "monitor/service/Monitor.h"

#include <chrono>
#include <functional>
#include <string>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

namespace vantrel::test {

// The real monitor, serving in a thread of the test until it is stopped or
// goes out of scope. prepare runs once its objects are published, before it
// serves (to attach a keyboard or a window watcher).
class RunningMonitor {
public:
    RunningMonitor(const std::string& runtimeDir, const std::string& programFolder,
                   std::chrono::milliseconds answerDelay = std::chrono::milliseconds(0),
                   const std::function<void(Monitor&)>& prepare = {})
        : m_monitor(runtimeDir, programFolder, programFolder), m_stop(::eventfd(0, EFD_CLOEXEC)) {
        m_monitor.setAnswerDelay(answerDelay);
        published = m_monitor.publish();
        if (published && prepare)
            prepare(m_monitor);
        if (published)
            m_thread = std::thread([this] { m_monitor.run(m_stop); });
    }
    ~RunningMonitor() {
        stop();
        ::close(m_stop);
    }
    // Ends the serving; the objects stay until withdraw() or the end.
    void stop() {
        const uint64_t one = 1;
        (void)!::write(m_stop, &one, sizeof one);
        if (m_thread.joinable())
            m_thread.join();
    }
    void withdraw() { m_monitor.withdraw(); }

    bool published = false;

private:
    Monitor m_monitor;
    int m_stop;
    std::thread m_thread;
};

} // namespace vantrel::test
