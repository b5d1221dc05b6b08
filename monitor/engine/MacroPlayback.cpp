#include "monitor/engine/MacroPlayback.h"

#include "monitor/engine/InputCodeTable.h"
#include "monitor/engine/OutputKeys.h"

#include <algorithm>
#include <cstring>

namespace vantrel {

MacroPlayback::MacroPlayback(int position, const MacroKeyInfo& key, TimePoint start)
    : m_position(position), m_eventCount(std::min<int>(key.eventCount, kMacroEventSlots)),
      m_due(start) {
    switch (key.macroMode) {
    case 1:
        m_mode = Mode::WhileHeld;
        break;
    case 2:
        m_mode = Mode::StartStop;
        break;
    default:
        m_mode = Mode::OncePerPress;
        break;
    }
    m_passesLeft = std::clamp(key.repeatCount, 1, 255);
    std::memcpy(m_events, key.events, sizeof m_events);
    for (int i = 0; i < m_eventCount; ++i)
        m_emptyPass = m_emptyPass && m_events[i].delayMs == 0;
    m_finished = m_eventCount == 0;
}

void MacroPlayback::play(const KeyEvent& event, OutputKeys& keys) {
    const auto code = InputCodeTable::inputCode(event.keyCode);
    if (!code)
        return;
    // A macro presses a key once and lets go of it once, whatever its events
    // say, so that it never takes away a key somebody else holds.
    if (event.action == kKeyPress && !m_holds[*code]) {
        m_holds[*code] = true;
        keys.press(*code);
    } else if (event.action == kKeyRelease && m_holds[*code]) {
        m_holds[*code] = false;
        keys.release(*code);
    }
}

void MacroPlayback::advance(TimePoint now, OutputKeys& keys) {
    while (!m_finished && m_due <= now) {
        const KeyEvent& event = m_events[m_next];
        play(event, keys);
        m_due += std::chrono::milliseconds(event.delayMs);
        if (++m_next < m_eventCount)
            continue;
        m_next = 0;
        const bool more = m_mode == Mode::OncePerPress ? --m_passesLeft > 0 : !m_lastPass;
        if (!more) {
            stop(keys);
            return;
        }
        if (m_emptyPass)
            m_due += kEmptyPassGap;
    }
}

void MacroPlayback::stop(OutputKeys& keys) {
    for (uint16_t code = 0; code < KEY_CNT; ++code) {
        if (m_holds[code])
            keys.release(code);
    }
    m_holds.reset();
    m_finished = true;
}

} // namespace vantrel
