#pragma once

#include "lighting/EffectRenderer.h"
#include "monitor/lighting/OpenRgbClient.h"

#include <chrono>
#include <memory>
#include <optional>
#include <poll.h>
#include <vector>

namespace vantrel {

// The current profile's lighting on the RGB keyboards: renders its effect
// and hands the frames to OpenRGB, about 30 a second while the effect moves,
// one per change otherwise, waking only for those frames and the client's
// own times (a timerfd of absolute times).
class KeyboardLighting final {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kFrameInterval{33};

    explicit KeyboardLighting(std::unique_ptr<OpenRgbClient> client);
    ~KeyboardLighting();
    KeyboardLighting(const KeyboardLighting&) = delete;
    KeyboardLighting& operator=(const KeyboardLighting&) = delete;

    void setProfile(const ProfileRecord& profile);
    // A key position went down on a held keyboard.
    void keyPressed(int position, Clock::time_point now);
    // The machine is back from sleep: the keyboards get the current frame again.
    void resumed(Clock::time_point now);

    // The descriptors to wait on, appended.
    void addFds(std::vector<pollfd>& fds) const;
    // Whether fd is one of them.
    bool owns(int fd) const { return fd == m_timer || fd == m_client->fd(); }
    // Handles one of its descriptors that poll found ready.
    void handle(const pollfd& fd, Clock::time_point now);
    // After every turn of the loop: sends the frame that is due and sets the timer.
    void update(Clock::time_point now);

    const OpenRgbClient& client() const { return *m_client; }

private:
    static int64_t milliseconds(Clock::time_point t);

    std::unique_ptr<OpenRgbClient> m_client;
    EffectRenderer m_renderer;
    int m_timer;
    bool m_changed = true;
    bool m_moving = false;
    Clock::time_point m_nextFrame{};
    std::optional<Clock::time_point> m_armed;
};

} // namespace vantrel
