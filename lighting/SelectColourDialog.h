#pragma once

#include "skin/SkinnedDialog.h"

#include <array>
#include <cstdint>
#include <optional>

namespace vantrel {

class AppContext;
class ColourPicker;
class ColourSwatch;
class ColourValueBox;

// Chooses one colour from eight presets, the spectrum or three typed bytes.
// The caller's colour changes only when the dialog ends with OK. Colours are
// words 0x00BBGGRR.
class SelectColourDialog final : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr std::array<uint32_t, 8> kPresets{0x0000FF, 0x00FF00, 0xFF0000, 0xFF00FF,
                                                      0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x013DF5};

    // Its controls by "BUTTONPOS" key of "Skin_select_color.ini".
    enum Key : int {
        OkKey = 1,
        CancelKey = 2,
        FirstPresetKey = 3, // to 10
        PickerKey = 11,
        SwatchKey = 12,
        RedKey = 13,
        GreenKey = 14,
        BlueKey = 15
    };

    SelectColourDialog(AppContext& context, uint32_t colour, QWidget* owner);

    // The colour being chosen.
    uint32_t colour() const { return m_colour; }

    // Runs the dialog through context.dialogs(): the chosen colour on OK,
    // nothing on Cancel.
    static std::optional<uint32_t> choose(AppContext& context, uint32_t colour, QWidget* owner);

private:
    static const std::array<SkinControl<SelectColourDialog>, 3> kControls;

    void choosePreset(int i);
    void colourPicked();
    void byteSet(int value, int identifier);
    // The boxes and the swatch show the colour.
    void showColour();
    void confirm();
    void cancel();

    uint32_t m_colour;
    ColourPicker* m_picker = nullptr;
    ColourSwatch* m_swatch = nullptr;
    std::array<ColourValueBox*, 3> m_boxes{};
};

} // namespace vantrel
