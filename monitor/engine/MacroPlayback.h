#pragma once

#include "settings/MacroKeyInfo.h"

#include <bitset>
#include <chrono>
#include <linux/input-event-codes.h>

namespace vantrel {

class OutputKeys;

// One macro playing for one key: its events at their times, pass after pass.
// Times count from the press, not from when an event actually went out, so a
// late wake-up does not push the rest of the macro back.
class MacroPlayback final {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    enum class Mode {
        OncePerPress = 0, // repeatCount passes for each press
        WhileHeld = 1,    // passes while the key is held; the last one plays to its end
        StartStop = 2,    // passes from one press to the next
    };
    // Passes of a macro whose pauses add up to nothing are kept this far apart,
    // so a looping macro cannot take the whole processor.
    static constexpr std::chrono::milliseconds kEmptyPassGap{10};

    MacroPlayback(int position, const MacroKeyInfo& key, TimePoint start);

    int position() const { return m_position; }
    Mode mode() const { return m_mode; }
    TimePoint due() const { return m_due; }
    bool finished() const { return m_finished; }

    // Plays every event due by now; at the end every key it holds goes up.
    void advance(TimePoint now, OutputKeys& keys);
    // The key went up: a while-held macro ends with the pass in progress.
    void keyReleased() {
        if (m_mode == Mode::WhileHeld)
            m_lastPass = true;
    }
    // Ends at once, letting go of what it holds.
    void stop(OutputKeys& keys);

private:
    void play(const KeyEvent& event, OutputKeys& keys);

    int m_position;
    Mode m_mode;
    int m_passesLeft; // of a once-per-press playback
    int m_eventCount;
    KeyEvent m_events[kMacroEventSlots];
    bool m_emptyPass = true;
    int m_next = 0;
    TimePoint m_due;
    bool m_lastPass = false;
    bool m_finished = false;
    std::bitset<KEY_CNT> m_holds;
};

} // namespace vantrel
