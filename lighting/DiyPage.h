#pragma once

#include "lighting/LightingPage.h"

#include <array>

namespace vantrel {

class CclickHSlider;
class ColourButton;
class KeyAssignmentPage;
class SkinLabel;

// The page of one of the DIY effects 51..55: brightness, and either colours
// painted key by key on the keyboard picture or one colour for all keys. A
// first click on a mode chooses it; a click on the chosen mode opens the
// colour dialog for its colour.
class DiyPage final : public LightingPage {
    Q_OBJECT
public:
    enum Key : int { BrightnessKey = 1, BrightnessLabelKey = 2, PerKeyKey = 3, AllKeysKey = 4 };
    // The values of DIYColorOption, which are also the indices of DIYColor.
    static constexpr int kPerKey = 0;
    static constexpr int kAllKeys = 1;

    DiyPage(AppContext& context, int32_t effect, KeyAssignmentPage& keyboard, QWidget* parent);

    void refresh() override;

    CclickHSlider* brightnessSlider() const { return m_brightness; }
    SkinLabel* brightnessLabel() const;
    ColourButton* perKeyButton() const;
    ColourButton* allKeysButton() const;

private:
    static const std::array<SkinControl<DiyPage>, 3> kControls;

    // The DIY effect's index, 0..4.
    int index() const;
    void sliderMoved(int value, int controlId);
    void choosePerKey();
    void chooseAllKeys();
    void chooseMode(int mode);

    KeyAssignmentPage& m_keyboard;
    CclickHSlider* m_brightness = nullptr;
};

} // namespace vantrel
