#include "monitor/engine/EscapeChord.h"

namespace vantrel {

bool EscapeChord::update(uint16_t code, int32_t value) {
    if (code >= KEY_CNT || value == 2)
        return false;
    m_down[code] = value == 1;
    return code == KEY_ESC && value == 1 && m_down[KEY_LEFTSHIFT] && m_down[KEY_RIGHTSHIFT];
}

} // namespace vantrel
