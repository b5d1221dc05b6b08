#pragma once

#include "macro/MacroRecord.h"

#include <cstdint>
#include <optional>
#include <utility>

namespace vantrel {

class Clock;
class KeyboardLayout;

// Turns key reports into the events of a macro being edited. It works on the
// editor's working copy (eventCount and events); the window around it starts and
// stops the key capture and shows the state through Host.
class MacroRecorder final {
public:
    class Host {
    public:
        virtual ~Host() = default;
        // Starts the key capture towards the window; false when it holds no keys.
        virtual bool startKeyCapture() = 0;
        virtual void stopKeyCapture() = 0;
        // The recording started or ended: record button pictures, the buttons
        // and lists that are disabled while recording, the keyboard focus. When
        // a recording ends, the host writes the working copy back into the store.
        virtual void recordingChanged(bool recording) = 0;
        // Events were recorded; the event at keepInView should be shown.
        virtual void eventsChanged(int keepInView) = 0;
    };

    // Report flags as the key capture delivers them.
    static constexpr uint32_t kExtendedFlag = 0x01;
    static constexpr uint32_t kReleaseFlag = 0x80;
    // The virtual-key code a key capture report stands for: an extended
    // Enter is the keypad's.
    static uint32_t reportedVirtualKey(uint32_t virtualKey, uint32_t flags);

    MacroRecorder(MacroRecord& working, const KeyboardLayout& layout, const Clock& clock,
                  Host& host);

    bool recording() const { return m_recording; }
    // Where the next event goes; -1 appends. Advances by one after each insert.
    int insertionIndex() const { return m_insertionIndex; }
    void setInsertionIndex(int index) { m_insertionIndex = index; }
    // Whether the pauses between keys are kept; off when the editor opens.
    bool recordDelays() const { return m_recordDelays; }
    void setRecordDelays(bool on) { m_recordDelays = on; }
    // The event the last insert placed.
    int keepInView() const { return m_keepInView; }

    // Returns whether the key capture was installed; the recording runs either way.
    bool startRecording();
    void stopRecording();
    // One report of the key capture while recording: virtual-key code and flags
    // (bit 0 extended key, bit 7 release). Ignored when not recording.
    void recordKeyReport(uint32_t virtualKey, uint32_t flags);
    // Puts the event at the insertion index, or at the end; false when the macro
    // already holds 50 events.
    bool insertEvent(KeyEvent event);

private:
    MacroRecord& m_working;
    const KeyboardLayout& m_layout;
    const Clock& m_clock;
    Host& m_host;

    bool m_recording = false;
    int m_insertionIndex = -1;
    bool m_hasPrevious = false;
    bool m_recordDelays = false;
    uint32_t m_lastTick = 0;
    // The previous report (virtual key, flags); none before the first, so that
    // a first report of virtual key 0 is not taken for a repeat.
    std::optional<std::pair<uint32_t, uint32_t>> m_lastReport;
    int m_keepInView = -1;
};

} // namespace vantrel
