#pragma once

#include "link/MessageSocket.h"
#include "link/RobustMutex.h"
#include "link/SharedBlockMapping.h"

#include <chrono>
#include <deque>
#include <string>

namespace vantrel {

// The resident monitor: owns the shared block, its mutex and the monitor's
// mailbox, and answers every apply with "apply finished". It has no keyboard
// to drive.
class Monitor final {
public:
    using Clock = std::chrono::steady_clock;

    // The texts come from the program folder, the working profiles from the
    // config folder.
    Monitor(std::string runtimeDir, std::string programFolder, std::string configFolder);
    ~Monitor();
    Monitor(const Monitor&) = delete;
    Monitor& operator=(const Monitor&) = delete;

    // Creates the mutex, the block (from the working profile files, or factory
    // values) and the mailbox. False when another monitor runs or an object
    // cannot be made.
    bool publish();
    // Serves messages until stopFd becomes readable.
    void run(int stopFd);
    // Removes every object again.
    void withdraw();

    // How long the answer to an apply waits; 0 answers at once.
    void setAnswerDelay(std::chrono::milliseconds delay) { m_answerDelay = delay; }

private:
    void handle(const LinkMessage& message);
    void sendDueAnswers();

    std::string m_dir;
    std::string m_programFolder;
    std::string m_configFolder;
    int m_lockFd = -1;
    RobustMutex m_mutex;
    SharedBlockMapping m_block;
    MessageSocket m_socket;
    std::chrono::milliseconds m_answerDelay{0};
    std::deque<Clock::time_point> m_answers;
};

} // namespace vantrel
