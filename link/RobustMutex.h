#pragma once

#include <pthread.h>
#include <string>

namespace vantrel {

// The mutex that guards the shared block: a process-shared, robust pthread
// mutex living at the start of its own mapped file. Waits are bounded so that
// a monitor that hangs cannot hang the program.
class RobustMutex final {
public:
    static constexpr int kWaitSeconds = 2;

    RobustMutex() = default;
    ~RobustMutex();
    RobustMutex(const RobustMutex&) = delete;
    RobustMutex& operator=(const RobustMutex&) = delete;

    // Maps an existing mutex file of this user; false when there is none.
    bool open(const std::string& path);
    // Makes and initialises a new mutex file under a temporary name, then
    // renames it into place.
    bool create(const std::string& path);
    void close();
    bool isOpen() const { return m_mutex != nullptr; }

    enum class LockResult {
        Locked,
        // The last owner died holding it: it was made consistent and
        // released, not taken, so the next wait can succeed.
        OwnerDied,
        Failed, // time-out or error
    };
    LockResult lock();
    // A lock that, when the last owner died, waits once more: the first wait
    // made the mutex usable again.
    LockResult lockOnceMoreIfOwnerDied();
    void unlock();

private:
    pthread_mutex_t* m_mutex = nullptr;
};

} // namespace vantrel
