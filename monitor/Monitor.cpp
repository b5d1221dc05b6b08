#include "monitor/Monitor.h"

#include "link/ChangeFlags.h"
#include "link/LinkNames.h"
#include "settings/LanguageStrings.h"
#include "settings/WorkingSet.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/file.h>
#include <unistd.h>

namespace vantrel {

Monitor::Monitor(std::string runtimeDir, std::string programFolder, std::string configFolder)
    : m_dir(std::move(runtimeDir)), m_programFolder(std::move(programFolder)),
      m_configFolder(std::move(configFolder)) {}

Monitor::~Monitor() {
    withdraw();
}

bool Monitor::publish() {
    const std::string lockPath = m_dir + kMonitorSocketName + ".lock";
    m_lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_lockFd < 0 || ::flock(m_lockFd, LOCK_EX | LOCK_NB) != 0) {
        if (m_lockFd >= 0)
            ::close(m_lockFd);
        m_lockFd = -1;
        return false;
    }

    auto initial = std::make_unique<SharedBlock>();
    WorkingSet(m_configFolder)
        .readWorkingSet(*initial, LanguageStrings(m_programFolder + "lan.ini"));
    ChangeFlags::clearChangeFlags(*initial);

    // The mutex before the block: whoever finds the block finds its mutex too.
    if (!m_mutex.create(m_dir + kMutexFileName) ||
        !m_block.create(m_dir + kBlockFileName, *initial) ||
        !m_socket.bind(m_dir + kMonitorSocketName)) {
        withdraw();
        return false;
    }
    return true;
}

void Monitor::withdraw() {
    if (m_lockFd < 0)
        return;
    m_socket.close();
    if (m_block.mapped())
        ::unlink((m_dir + kBlockFileName).c_str());
    m_block.close();
    if (m_mutex.isOpen())
        ::unlink((m_dir + kMutexFileName).c_str());
    m_mutex.close();
    ::close(m_lockFd);
    m_lockFd = -1;
}

void Monitor::handle(const LinkMessage& message) {
    if (message.message == kMsgApplied)
        m_answers.push_back(Clock::now() + m_answerDelay);
}

void Monitor::sendDueAnswers() {
    while (!m_answers.empty() && m_answers.front() <= Clock::now()) {
        MessageSocket::post(m_dir + kProgramSocketName, {kMsgApplyFinished, 0, 0});
        m_answers.pop_front();
    }
}

void Monitor::run(int stopFd) {
    for (;;) {
        sendDueAnswers();
        int timeout = -1;
        if (!m_answers.empty()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(m_answers.front() - Clock::now());
            timeout = static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, wait.count()));
        }
        pollfd fds[2] = {{stopFd, POLLIN, 0}, {m_socket.fd(), POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR)
            return;
        if (fds[0].revents)
            return;
        while (const auto message = m_socket.receive())
            handle(*message);
    }
}

} // namespace vantrel
