#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vantrel {

// The lighting effects as the main window offers them: their names, their
// menu commands and their pages. Effects 0..12 have pages of their own, the
// DIY effects 51..55 the five pages after them.
class EffectTable final {
public:
    static constexpr int kPageCount = 18;
    static constexpr int kMenuEntries = 17;
    static constexpr int kFirstDiyEffect = 51;

    // Menu commands in menu order: 1001..1012 (effects 0..11), 1014..1018 (DIY).
    // Command 1013 (effect 12) exists but is not offered.
    static const std::array<int, kMenuEntries>& menuCommands();
    // The effect a menu command sets; an unknown command in 1000..1100 sets 1.
    static int32_t effectForCommand(int command);
    // The language string naming the effect; 0 for a value that is no effect.
    static int labelString(int32_t effect);

    // The page that shows the effect: an unknown effect shows the page of effect 0.
    static int pageIndex(int32_t effect);
    static int32_t effectOfPage(int page);
    static std::string_view skinFile(int32_t effect);
};

} // namespace vantrel
