#include "monitor/engine/OutputKeys.h"

namespace vantrel {

void OutputKeys::send(uint16_t code, int32_t value) {
    m_device.send(EV_KEY, code, value);
    m_device.sync();
}

void OutputKeys::press(uint16_t code) {
    if (code >= KEY_CNT)
        return;
    if (m_holders[code]++ == 0)
        send(code, 1);
}

void OutputKeys::release(uint16_t code) {
    if (code >= KEY_CNT || m_holders[code] == 0)
        return;
    if (--m_holders[code] == 0)
        send(code, 0);
}

void OutputKeys::releaseAll() {
    for (uint16_t code = 0; code < KEY_CNT; ++code) {
        if (m_holders[code]) {
            m_holders[code] = 0;
            send(code, 0);
        }
    }
}

} // namespace vantrel
