#pragma once

#include "settings/KeyboardLayout.h"

#include <array>
#include <cstdint>
#include <memory>

struct xkb_keymap;
struct xcb_connection_t;

namespace vantrel {

// A keyboard layout read from an XKB keymap, so that a letter key reports and
// shows the letter the user's layout puts there. Each position of the main
// block gets a virtual-key code from what the key types: its letter, else its
// digit (unshifted or shifted), else its punctuation mark of the US set; the
// other positions keep their US codes where those are free and share out the
// rest. Every position thus has its own code, and a code always leads back to
// its position.
class XkbKeyboardLayout final : public KeyboardLayout {
public:
    // The keymap with the given group (layout) active.
    XkbKeyboardLayout(xkb_keymap* keymap, uint32_t group);

    // The keymap and active group of the X server behind the connection; null
    // when the server has no usable keyboard extension.
    static std::unique_ptr<XkbKeyboardLayout> fromConnection(xcb_connection_t* connection);
    // The layout of the X display the application runs on, or the fixed US
    // layout where it runs on no X display.
    static std::unique_ptr<KeyboardLayout> forApplication();

    uint32_t scanCodeFromVirtualKey(uint32_t vk) const override;
    uint32_t virtualKeyFromScanCode(uint32_t scanCode) const override;

private:
    std::array<uint8_t, 256> m_virtualKeyOfScan{};
    std::array<uint8_t, 256> m_scanOfVirtualKey{};
};

} // namespace vantrel
