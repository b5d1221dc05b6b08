#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>

namespace vantrel {

// Starts the monitor beside the program when none answers, so that Apply
// reaches one even without the user service. The monitor runs in a session of
// its own, holds none of the starter's files, and outlives it.
class MonitorStarter final {
public:
    static constexpr const char* kMonitorName = "vantrel-monitor";
    static constexpr std::chrono::milliseconds kStartLimit{5000};

    // True when a monitor's mailbox in the runtime folder takes connections.
    static bool monitorAnswers(const std::string& runtimeDir);
    // Starts the executable and waits up to the limit until it answers. Its
    // process id, or nothing when it could not be started or did not answer.
    static std::optional<pid_t> start(const std::string& executable, const std::string& runtimeDir,
                                      std::chrono::milliseconds limit);
    // Leaves a running monitor alone, else starts the one in the program folder.
    static void ensureRunning(const std::string& programFolder, const std::string& runtimeDir);
};

} // namespace vantrel
