#pragma once

#include "monitor/devices/KeyboardSource.h"
#include "monitor/engine/EscapeChord.h"
#include "monitor/engine/OutputDevice.h"
#include "monitor/engine/RemapEngine.h"

#include <memory>
#include <poll.h>
#include <vector>

namespace vantrel {

// The engine between real devices: reads the keyboards, wakes for macro
// events on a timer of absolute times, shows the output's lights on the
// keyboards, and answers the escape chord by letting go of every key and
// keyboard (and taking them again the next time).
class KeyDriver final {
public:
    KeyDriver(std::unique_ptr<KeyboardSource> source, OutputDevice& output,
              RemapEngine::Actions& actions);
    ~KeyDriver();
    KeyDriver(const KeyDriver&) = delete;
    KeyDriver& operator=(const KeyDriver&) = delete;

    RemapEngine& engine() { return m_engine; }
    std::vector<std::string> describeKeyboards() const { return m_source->describe(); }
    bool holding() const { return m_holding; }

    // The descriptors to wait on, appended.
    void addFds(std::vector<pollfd>& fds) const;
    // Handles one of its descriptors that poll found ready.
    void handle(int fd);
    // Every output key up before the monitor ends.
    void releaseAll() { m_engine.releaseAll(); }

private:
    void armTimer();

    std::unique_ptr<KeyboardSource> m_source;
    OutputDevice& m_output;
    RemapEngine m_engine;
    EscapeChord m_chord;
    bool m_holding = true;
    int m_timer;
    std::vector<KeyboardSource::Event> m_events;
    std::vector<OutputDevice::Light> m_lights;
};

} // namespace vantrel
