#include "settings/KeyNames.h"

#include <string_view>

namespace vantrel {

namespace {

struct NamedKey {
    uint32_t vk;
    std::string_view name;
};

constexpr NamedKey kNamed[] = {
    {8, "BackSpace"},
    {9, "Tab"},
    {13, "Enter"},
    {19, "Pause"},
    {20, "CapsLock"},
    {27, "Esc"},
    {32, "Space"},
    {33, "Page UP"},
    {34, "Page Down"},
    {35, "End"},
    {36, "Home"},
    {37, "Left"},
    {38, "Up"},
    {39, "Right"},
    {40, "Down"},
    {41, "Select"},
    {43, "Execute"},
    {44, "Snapshot"},
    {45, "Insert"},
    {46, "Delete"},
    {47, "Help"},
    {91, "Left Windows"},
    {92, "Right Windows"},
    {93, "APP"},
    {106, "(*)"},
    {107, "(+)"},
    {108, "(Enter)"},
    {109, "(-)"},
    {110, "(.)"},
    {111, "(/)"},
    {144, "Numlock"},
    {145, "ScrollLock"},
    {160, "Left Shift"},
    {161, "Right Shift"},
    {162, "Left Ctrl"},
    {163, "Right Ctrl"},
    {164, "Left Alt"},
    {165, "Right Alt"},
    {186, ";"},
    {187, "="},
    {188, ","},
    {189, "-"},
    {190, "."},
    {191, "/"},
    {192, "`"},
    {219, "["},
    {220, "\\"},
    {221, "]"},
    {222, "'"},
    {240, "L Button"},
    {241, "R Button"},
    {242, "M Button"},
    {243, "Button 5"},
    {244, "Button 4"},
};

} // namespace

std::string KeyNames::keyName(uint32_t vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return std::string(1, static_cast<char>(vk));
    if (vk >= 96 && vk <= 105)
        return "(" + std::string(1, static_cast<char>('0' + (vk - 96))) + ")";
    if (vk >= 112 && vk <= 123)
        return "F" + std::to_string(vk - 111);
    for (const NamedKey& key : kNamed) {
        if (key.vk == vk)
            return std::string(key.name);
    }
    return {};
}

} // namespace vantrel
