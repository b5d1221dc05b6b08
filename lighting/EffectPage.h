#pragma once

#include "lighting/LightingPage.h"

#include <array>

namespace vantrel {

class CclickHSlider;
class ColourButton;
class ColourPicker;
class ColourSwatch;
class ColourValueBox;
class SkinButton;
class SkinLabel;

// The page of one of the effects 0..12: brightness, speed (all but effect 0),
// the seven stored colours or the eighth choice, a colour from the spectrum or
// typed as bytes, and on some pages a direction. It writes straight into the
// current profile.
class EffectPage final : public LightingPage {
    Q_OBJECT
public:
    // Its controls by "BUTTONPOS" key of its skin.
    enum Key : int {
        BrightnessKey = 1,
        BrightnessLabelKey = 2,
        FirstColourKey = 3, // ..9
        EighthChoiceKey = 10,
        PickerKey = 11,
        SwatchKey = 12,
        FirstValueBoxKey = 13, // ..15: red, green, blue
        PulsationKey = 16,
        PulsationLabelKey = 17,
        FirstDirectionKey = 18, // ..21
    };
    static constexpr int kColours = 7;
    static constexpr int kEighthChoice = 7;
    static constexpr int kDirections = 4;

    EffectPage(AppContext& context, int32_t effect, QWidget* parent);

    void refresh() override;

    CclickHSlider* brightnessSlider() const { return m_brightness; }
    CclickHSlider* pulsationSlider() const { return m_pulsation; }
    SkinLabel* brightnessLabel() const;
    SkinLabel* pulsationLabel() const;
    ColourButton* colourButton(int i) const;
    SkinButton* eighthChoiceButton() const;
    SkinButton* directionButton(int j) const;
    ColourPicker* picker() const { return m_picker; }
    ColourSwatch* swatch() const { return m_swatch; }
    ColourValueBox* valueBox(int i) const { return m_boxes.at(static_cast<size_t>(i)); }

private:
    static const std::array<SkinControl<EffectPage>, 3> kControls;
    static const SkinControl<EffectPage> kPulsationLabel;
    static const SkinControl<EffectPage> kDirectionButtons;
    static const SkinControl<EffectPage> kUnusedDirectionButtons;

    bool hasPulsation() const;
    bool hasDirections() const;
    // The chosen colour, 0..6, or nothing for the eighth choice.
    std::optional<int> chosenColour();
    void showBytes(uint32_t colour);

    void sliderMoved(int value, int controlId);
    void chooseEighth();
    void chooseColour(int i);
    void chooseDirection(int j);
    void colourPicked();
    void byteSet(int value, int boxId);

    CclickHSlider* m_brightness = nullptr;
    CclickHSlider* m_pulsation = nullptr;
    ColourPicker* m_picker = nullptr;
    ColourSwatch* m_swatch = nullptr;
    std::array<ColourValueBox*, 3> m_boxes{};
};

} // namespace vantrel
