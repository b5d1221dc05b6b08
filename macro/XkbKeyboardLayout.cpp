#include "macro/XkbKeyboardLayout.h"

#include "settings/KeyTable.h"
#include "settings/UsKeyboardLayout.h"

#include <QGuiApplication>

#include <vector>
#include <xcb/xcb.h>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace vantrel {

namespace {

// X key codes are the Linux input codes plus 8, and for the main block the
// input code is the set-1 scan code.
constexpr uint32_t kXKeyCodeOffset = 8;

uint32_t letterOrDigit(xkb_keysym_t sym, bool letters) {
    if (letters && sym >= XKB_KEY_a && sym <= XKB_KEY_z)
        return 'A' + (sym - XKB_KEY_a);
    if (letters && sym >= XKB_KEY_A && sym <= XKB_KEY_Z)
        return 'A' + (sym - XKB_KEY_A);
    if (!letters && sym >= XKB_KEY_0 && sym <= XKB_KEY_9)
        return '0' + (sym - XKB_KEY_0);
    return 0;
}

uint32_t punctuation(xkb_keysym_t sym) {
    switch (sym) {
    case XKB_KEY_semicolon:
        return 186;
    case XKB_KEY_equal:
        return 187;
    case XKB_KEY_comma:
        return 188;
    case XKB_KEY_minus:
        return 189;
    case XKB_KEY_period:
        return 190;
    case XKB_KEY_slash:
        return 191;
    case XKB_KEY_grave:
        return 192;
    case XKB_KEY_bracketleft:
        return 219;
    case XKB_KEY_backslash:
        return 220;
    case XKB_KEY_bracketright:
        return 221;
    case XKB_KEY_apostrophe:
        return 222;
    default:
        return 0;
    }
}

std::vector<xkb_keysym_t> symsAtLevel(xkb_keymap* keymap, xkb_keycode_t key, uint32_t group,
                                      xkb_level_index_t level) {
    const xkb_layout_index_t layouts = xkb_keymap_num_layouts_for_key(keymap, key);
    if (layouts == 0)
        return {};
    const xkb_keysym_t* syms = nullptr;
    const int n = xkb_keymap_key_get_syms_by_level(keymap, key, group % layouts, level, &syms);
    return n > 0 ? std::vector<xkb_keysym_t>(syms, syms + n) : std::vector<xkb_keysym_t>{};
}

} // namespace

XkbKeyboardLayout::XkbKeyboardLayout(xkb_keymap* keymap, uint32_t group) {
    const UsKeyboardLayout us;
    std::vector<uint32_t> positions; // scan codes of the main block, in table order
    for (const KeyTableRow& row : KeyTable::rows()) {
        if (row.scanCode != 0)
            positions.push_back(row.scanCode);
    }
    const auto assign = [&](uint32_t scan, uint32_t vk) {
        if (vk == 0 || m_virtualKeyOfScan[scan] != 0 || m_scanOfVirtualKey[vk] != 0)
            return;
        m_virtualKeyOfScan[scan] = static_cast<uint8_t>(vk);
        m_scanOfVirtualKey[vk] = static_cast<uint8_t>(scan);
    };

    // From the strongest claim to the weakest; a code goes to the first
    // position that claims it.
    const auto fromSyms = [&](xkb_level_index_t level, auto code) {
        for (const uint32_t scan : positions) {
            for (const xkb_keysym_t sym : symsAtLevel(keymap, scan + kXKeyCodeOffset, group, level))
                assign(scan, code(sym));
        }
    };
    fromSyms(0, [](xkb_keysym_t sym) { return letterOrDigit(sym, true); });
    fromSyms(0, [](xkb_keysym_t sym) { return letterOrDigit(sym, false); });
    fromSyms(1, [](xkb_keysym_t sym) { return letterOrDigit(sym, false); });
    fromSyms(0, punctuation);
    for (const uint32_t scan : positions)
        assign(scan, us.virtualKeyFromScanCode(scan));
    // Positions whose US code went elsewhere take the codes left over.
    std::vector<uint32_t> leftover;
    for (const uint32_t scan : positions) {
        const uint32_t vk = us.virtualKeyFromScanCode(scan);
        if (m_scanOfVirtualKey[vk] == 0)
            leftover.push_back(vk);
    }
    auto next = leftover.begin();
    for (const uint32_t scan : positions) {
        if (m_virtualKeyOfScan[scan] == 0 && next != leftover.end())
            assign(scan, *next++);
    }
}

std::unique_ptr<XkbKeyboardLayout> XkbKeyboardLayout::fromConnection(xcb_connection_t* connection) {
    if (!connection || !xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                                    XKB_X11_MIN_MINOR_XKB_VERSION,
                                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr,
                                                    nullptr, nullptr, nullptr))
        return nullptr;
    const int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
    if (device < 0)
        return nullptr;
    using Context = std::unique_ptr<xkb_context, decltype(&xkb_context_unref)>;
    using Keymap = std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)>;
    using State = std::unique_ptr<xkb_state, decltype(&xkb_state_unref)>;
    const Context context(xkb_context_new(XKB_CONTEXT_NO_FLAGS), &xkb_context_unref);
    if (!context)
        return nullptr;
    const Keymap keymap(xkb_x11_keymap_new_from_device(context.get(), connection, device,
                                                       XKB_KEYMAP_COMPILE_NO_FLAGS),
                        &xkb_keymap_unref);
    if (!keymap)
        return nullptr;
    const State state(xkb_x11_state_new_from_device(keymap.get(), connection, device),
                      &xkb_state_unref);
    const uint32_t group =
        state ? xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_EFFECTIVE) : 0;
    return std::make_unique<XkbKeyboardLayout>(keymap.get(), group);
}

std::unique_ptr<KeyboardLayout> XkbKeyboardLayout::forApplication() {
    if (const auto* x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (auto layout = fromConnection(x11->connection()))
            return layout;
    }
    return std::make_unique<UsKeyboardLayout>();
}

uint32_t XkbKeyboardLayout::scanCodeFromVirtualKey(uint32_t vk) const {
    return vk < m_scanOfVirtualKey.size() ? m_scanOfVirtualKey[vk] : 0;
}

uint32_t XkbKeyboardLayout::virtualKeyFromScanCode(uint32_t scanCode) const {
    return scanCode < m_virtualKeyOfScan.size() ? m_virtualKeyOfScan[scanCode] : 0;
}

} // namespace vantrel
