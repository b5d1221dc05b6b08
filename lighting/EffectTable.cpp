#include "lighting/EffectTable.h"

namespace vantrel {

namespace {

bool isDiy(int32_t effect) {
    return effect >= EffectTable::kFirstDiyEffect && effect < EffectTable::kFirstDiyEffect + 5;
}

} // namespace

const std::array<int, EffectTable::kMenuEntries>& EffectTable::menuCommands() {
    static constexpr std::array<int, kMenuEntries> kCommands = {1001, 1002, 1003, 1004, 1005, 1006,
                                                                1007, 1008, 1009, 1010, 1011, 1012,
                                                                1014, 1015, 1016, 1017, 1018};
    return kCommands;
}

int32_t EffectTable::effectForCommand(int command) {
    if (command >= 1001 && command <= 1013)
        return command - 1001;
    if (command >= 1014 && command <= 1018)
        return kFirstDiyEffect + (command - 1014);
    return 1;
}

int EffectTable::labelString(int32_t effect) {
    if (effect >= 0 && effect <= 12)
        return 1105 + effect;
    if (isDiy(effect))
        return 1118 + (effect - kFirstDiyEffect);
    return 0;
}

int EffectTable::pageIndex(int32_t effect) {
    if (effect >= 1 && effect <= 12)
        return effect;
    if (isDiy(effect))
        return 13 + (effect - kFirstDiyEffect);
    return 0;
}

int32_t EffectTable::effectOfPage(int page) {
    return page <= 12 ? page : kFirstDiyEffect + (page - 13);
}

std::string_view EffectTable::skinFile(int32_t effect) {
    switch (effect) {
    case 0:
        return "Skin_Effect1.ini";
    case 4:
    case 7:
        return "Skin_Effect8.ini";
    case 6:
        return "Skin_Effect4.ini";
    case 10:
        return "Skin_Effect5.ini";
    case 12:
        return "Skin_EffectD.ini";
    default:
        return isDiy(effect) ? "Skin_EffectDIY.ini" : "Skin_Effect2.ini";
    }
}

} // namespace vantrel
