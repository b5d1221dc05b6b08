#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace vantrel {

// What the monitor is doing, asked over a stream socket of its own in the
// runtime folder (mode 0600), never through the program's mailbox: a client
// connects and reads the text to its end. Only the monitor's own user is
// answered, and the answer is written at once or not at all, so no client can
// hold the monitor (and the keys) up.
class StatusSocket final {
public:
    static constexpr const char* kName = "Vantrel_Monitor_Status";
    static constexpr size_t kMaxAnswer = 64 * 1024;

    StatusSocket() = default;
    ~StatusSocket() { close(); }
    StatusSocket(const StatusSocket&) = delete;
    StatusSocket& operator=(const StatusSocket&) = delete;

    // Listens in the runtime folder, replacing a socket a dead monitor left;
    // false when it cannot.
    bool listen(const std::string& runtimeDir);
    int fd() const { return m_fd; }
    // Answers the clients that are waiting with the text report gives.
    void serve(const std::function<std::string()>& report);
    void close();

    // The running monitor's answer; none when no monitor answers in time.
    static std::optional<std::string> ask(const std::string& runtimeDir,
                                          std::chrono::milliseconds patience);

private:
    int m_fd = -1;
    std::string m_path;
};

} // namespace vantrel
