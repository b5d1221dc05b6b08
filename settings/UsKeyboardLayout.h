#pragma once

#include "settings/KeyboardLayout.h"

namespace vantrel {

// The US layout as the key table itself describes it: used where no live
// keyboard layout can be read.
class UsKeyboardLayout final : public KeyboardLayout {
public:
    uint32_t scanCodeFromVirtualKey(uint32_t vk) const override;
    uint32_t virtualKeyFromScanCode(uint32_t scanCode) const override;
};

} // namespace vantrel
