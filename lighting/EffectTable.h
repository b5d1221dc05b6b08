#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vantrel {

// One lighting effect as the main window offers it and its page shows it.
struct EffectPageEntry {
    enum class Kind { Effect, Diy };
    static constexpr int kNone = -1;

    int32_t effect;
    int menuCommand;
    // The menu offers it (command 1013, effect 12, exists but is not offered).
    bool offered;
    int labelString;
    Kind kind;
    std::string_view skinFile;
    int brightnessEntry;
    int colourSlot;     // kNone on DIY pages
    int pulsationSlot;  // kNone on effect 0 and the DIY pages
    int directionEntry; // kNone on pages without direction buttons
    // A refresh checks the direction button of Direction[d].
    bool refreshRestoresDirection;
    // A refresh checks the eighth-choice button when it is chosen.
    bool refreshRestoresEighthChoice;
};

// The lighting effects, their menu commands and their pages: effects 0..12
// have pages of their own, the DIY effects 51..55 the five pages after them.
class EffectTable final {
public:
    static constexpr int kPageCount = 18;
    static constexpr int kMenuEntries = 17;

    // Every page, in page order.
    static const std::array<EffectPageEntry, kPageCount>& pages();
    // The offered menu commands, in menu order.
    static const std::array<int, kMenuEntries>& menuCommands();
    // The effect a menu command sets; an unknown command in 1000..1100 sets 1.
    static int32_t effectForCommand(int command);
    // The language string naming the effect; 0 for a value that is no effect.
    static int labelString(int32_t effect);

    // The page that shows the effect: an unknown effect shows the page of effect 0.
    static int pageIndex(int32_t effect);
    static const EffectPageEntry& pageOf(int32_t effect) { return pages()[pageIndex(effect)]; }

private:
    static std::optional<int> findEffect(int32_t effect);
};

} // namespace vantrel
