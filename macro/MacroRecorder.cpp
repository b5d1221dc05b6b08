#include "macro/MacroRecorder.h"

#include "macro/Clock.h"
#include "settings/KeyTable.h"

#include <algorithm>

namespace vantrel {

namespace {

constexpr uint32_t kVirtualKeyEnter = 13;
constexpr uint32_t kVirtualKeyKeypadEnter = 108;

} // namespace

uint32_t MacroRecorder::reportedVirtualKey(uint32_t virtualKey, uint32_t flags) {
    return virtualKey == kVirtualKeyEnter && (flags & kExtendedFlag) ? kVirtualKeyKeypadEnter
                                                                     : virtualKey;
}

MacroRecorder::MacroRecorder(MacroRecord& working, const KeyboardLayout& layout, const Clock& clock,
                             Host& host)
    : m_working(working), m_layout(layout), m_clock(clock), m_host(host) {}

bool MacroRecorder::startRecording() {
    m_recording = true;
    m_hasPrevious = false;
    // The previous recording's last report must not swallow this recording's
    // first key when it is the same key going the same way.
    m_lastReport.reset();
    const bool captured = m_host.startKeyCapture();
    m_host.recordingChanged(true);
    return captured;
}

void MacroRecorder::stopRecording() {
    if (!m_recording)
        return;
    m_recording = false;
    m_host.stopKeyCapture();
    m_lastTick = 0;
    m_host.recordingChanged(false);
}

void MacroRecorder::recordKeyReport(uint32_t virtualKey, uint32_t flags) {
    if (!m_recording)
        return;
    // A held key repeats its press; only the first one is an event.
    if (m_lastReport == std::pair(virtualKey, flags))
        return;
    m_lastReport = {virtualKey, flags};

    virtualKey = reportedVirtualKey(virtualKey, flags);
    const bool release = flags & kReleaseFlag;
    const uint32_t keyCode = KeyTable::keyCodeFromVirtualKey(virtualKey, m_layout).value_or(0);

    const uint32_t now = m_clock.milliseconds();
    if (m_hasPrevious && m_recordDelays) {
        // The pause belongs to the event recorded just before this one.
        const uint32_t gap = std::min<uint32_t>(now - m_lastTick, kLongestPause);
        const int previous =
            m_insertionIndex == -1 ? m_working.eventCount - 1 : m_insertionIndex - 1;
        if (previous >= 0 && previous < m_working.eventCount)
            m_working.events[previous].delayMs = static_cast<uint16_t>(gap);
    }

    insertEvent({static_cast<uint8_t>(keyCode), release ? kKeyRelease : kKeyPress, 0});
    m_lastTick = now;
    m_hasPrevious = true;
    if (m_working.eventCount >= kMacroEventSlots)
        stopRecording();
    m_host.eventsChanged(m_keepInView);
}

bool MacroRecorder::insertEvent(KeyEvent event) {
    const int count = std::clamp(m_working.eventCount, 0, kMacroEventSlots);
    if (count == kMacroEventSlots)
        return false;
    const int position = m_insertionIndex == -1 ? count : std::clamp(m_insertionIndex, 0, count);
    std::copy_backward(m_working.events + position, m_working.events + count,
                       m_working.events + count + 1);
    m_working.events[position] = event;
    m_working.eventCount = count + 1;
    if (m_insertionIndex != -1)
        m_insertionIndex = position + 1;
    m_keepInView = position;
    return true;
}

} // namespace vantrel
