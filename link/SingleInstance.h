#pragma once

#include <optional>
#include <string>

namespace vantrel {

// Marks this copy of the program as the running one: an exclusive flock on
// "Vantrel_RGB_Gaming_Keyboard_configure" in the runtime folder, held until the
// object is destroyed. Without a usable runtime folder the lock lives only in
// this process and always succeeds.
class SingleInstance final {
public:
    static constexpr const char* kLockName = "Vantrel_RGB_Gaming_Keyboard_configure";

    explicit SingleInstance(const std::optional<std::string>& runtimeDir);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // False when another copy already holds the lock.
    bool acquired() const { return m_acquired; }

private:
    int m_fd = -1;
    bool m_acquired = false;
};

} // namespace vantrel
