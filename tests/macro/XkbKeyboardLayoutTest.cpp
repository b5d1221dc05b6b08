#include "macro/XkbKeyboardLayout.h"
#include "settings/KeyNames.h"
#include "settings/KeyTable.h"
#include "settings/UsKeyboardLayout.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <xkbcommon/xkbcommon.h>

using namespace vantrel;

namespace {

using Context = std::unique_ptr<xkb_context, decltype(&xkb_context_unref)>;
using Keymap = std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)>;

// A keymap compiled from the system's XKB data, as an X server would hold it.
Keymap keymap(const char* layout, const char* variant = "") {
    const Context context(xkb_context_new(XKB_CONTEXT_NO_FLAGS), &xkb_context_unref);
    const xkb_rule_names names{"evdev", "pc105", layout, variant, ""};
    return Keymap(
        context ? xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS)
                : nullptr,
        &xkb_keymap_unref);
}

#define REQUIRE_KEYMAP(map)                                                                        \
    if (!(map))                                                                                    \
    GTEST_SKIP() << "no XKB data to compile keymaps from (package xkb-data)"

std::set<uint32_t> mainBlockScans() {
    std::set<uint32_t> scans;
    for (const KeyTableRow& row : KeyTable::rows()) {
        if (row.scanCode != 0)
            scans.insert(row.scanCode);
    }
    return scans;
}

std::string nameOfCode(uint32_t code, const KeyboardLayout& layout) {
    const auto vk = KeyTable::virtualKeyFromKeyCode(code, layout);
    return vk ? KeyNames::keyName(*vk) : std::string("<none>");
}

} // namespace

TEST(XkbKeyboardLayout, UsKeymapMatchesTheFixedUsLayout) {
    const Keymap us = keymap("us");
    REQUIRE_KEYMAP(us);
    const XkbKeyboardLayout layout(us.get(), 0);
    const UsKeyboardLayout fixed;
    for (const uint32_t scan : mainBlockScans()) {
        EXPECT_EQ(layout.virtualKeyFromScanCode(scan), fixed.virtualKeyFromScanCode(scan))
            << "scan " << scan;
    }
    EXPECT_EQ(layout.virtualKeyFromScanCode(0), 0u);
    EXPECT_EQ(layout.virtualKeyFromScanCode(0x1D), 0u); // not a position the tables ask about
    EXPECT_EQ(layout.scanCodeFromVirtualKey(162), 0u);
    EXPECT_EQ(layout.scanCodeFromVirtualKey(100000), 0u);
}

TEST(XkbKeyboardLayout, FrenchLettersMoveAndKeyCodesStayWithThePosition) {
    const Keymap fr = keymap("fr");
    REQUIRE_KEYMAP(fr);
    const XkbKeyboardLayout layout(fr.get(), 0);
    EXPECT_EQ(layout.virtualKeyFromScanCode(16), uint32_t('A'));
    EXPECT_EQ(layout.virtualKeyFromScanCode(30), uint32_t('Q'));
    EXPECT_EQ(layout.virtualKeyFromScanCode(17), uint32_t('Z'));
    EXPECT_EQ(layout.virtualKeyFromScanCode(44), uint32_t('W'));
    EXPECT_EQ(layout.virtualKeyFromScanCode(39), uint32_t('M'));
    EXPECT_EQ(layout.virtualKeyFromScanCode(2), uint32_t('1')); // the digit is shifted
    EXPECT_EQ(layout.virtualKeyFromScanCode(11), uint32_t('0'));
    EXPECT_EQ(layout.scanCodeFromVirtualKey('A'), 16u);

    // The key in the physical A position types Q: it records as code 4 and
    // shows "Q".
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey('Q', layout), 4u);
    EXPECT_EQ(nameOfCode(4, layout), "Q");
    EXPECT_EQ(nameOfCode(20, layout), "A");
}

TEST(XkbKeyboardLayout, GermanSwapsYAndZ) {
    const Keymap de = keymap("de");
    REQUIRE_KEYMAP(de);
    const XkbKeyboardLayout layout(de.get(), 0);
    EXPECT_EQ(layout.virtualKeyFromScanCode(21), uint32_t('Z'));
    EXPECT_EQ(layout.virtualKeyFromScanCode(44), uint32_t('Y'));
    EXPECT_EQ(KeyTable::keyCodeFromVirtualKey('Z', layout), 28u); // usage code of the Y position
    EXPECT_EQ(nameOfCode(28, layout), "Z");
}

TEST(XkbKeyboardLayout, EveryPositionHasItsOwnCodeThatLeadsBack) {
    const std::set<uint32_t> scans = mainBlockScans();
    std::set<uint32_t> usCodes;
    const UsKeyboardLayout fixed;
    for (const uint32_t scan : scans)
        usCodes.insert(fixed.virtualKeyFromScanCode(scan));

    const std::pair<const char*, const char*> layouts[] = {
        {"us", ""}, {"fr", ""}, {"de", ""}, {"ru", ""}, {"us", "dvorak"}, {"cz", ""}, {"jp", ""},
    };
    for (const auto& [name, variant] : layouts) {
        const Keymap map = keymap(name, variant);
        REQUIRE_KEYMAP(map);
        const XkbKeyboardLayout layout(map.get(), 0);
        std::set<uint32_t> codes;
        for (const uint32_t scan : scans) {
            const uint32_t vk = layout.virtualKeyFromScanCode(scan);
            EXPECT_EQ(layout.scanCodeFromVirtualKey(vk), scan) << name << variant << " " << scan;
            codes.insert(vk);
        }
        EXPECT_EQ(codes, usCodes) << name << variant;
    }
}

TEST(XkbKeyboardLayout, TheActiveGroupDecides) {
    const Keymap map = keymap("us,fr");
    REQUIRE_KEYMAP(map);
    EXPECT_EQ(XkbKeyboardLayout(map.get(), 0).virtualKeyFromScanCode(16), uint32_t('Q'));
    EXPECT_EQ(XkbKeyboardLayout(map.get(), 1).virtualKeyFromScanCode(16), uint32_t('A'));
    // Group numbers wrap around the groups a key has.
    EXPECT_EQ(XkbKeyboardLayout(map.get(), 2).virtualKeyFromScanCode(16), uint32_t('Q'));
}
