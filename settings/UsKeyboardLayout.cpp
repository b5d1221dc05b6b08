#include "settings/UsKeyboardLayout.h"

#include "settings/KeyTable.h"

namespace vantrel {

uint32_t UsKeyboardLayout::scanCodeFromVirtualKey(uint32_t vk) const {
    for (const KeyTableRow& row : KeyTable::rows()) {
        if (row.virtualKey == vk && row.scanCode != 0)
            return row.scanCode;
    }
    return 0;
}

uint32_t UsKeyboardLayout::virtualKeyFromScanCode(uint32_t scanCode) const {
    if (scanCode == 0)
        return 0;
    for (const KeyTableRow& row : KeyTable::rows()) {
        if (row.scanCode == scanCode)
            return row.virtualKey;
    }
    return 0;
}

} // namespace vantrel
