#include "lighting/DiyPage.h"

#include "keys/KeyAssignmentPage.h"
#include "lighting/EffectTable.h"
#include "lighting/SelectColourDialog.h"
#include "settings/ProfileRecord.h"
#include "skin/AppContext.h"
#include "skin/CclickHSlider.h"
#include "skin/ColourButton.h"
#include "skin/ControlIds.h"
#include "skin/SkinLabel.h"

namespace vantrel {

const std::array<SkinControl<DiyPage>, 3> DiyPage::kControls{{
    {BrightnessLabelKey, "brightnessLabel", ControlKind::Label},
    {PerKeyKey, "perKeyButton", ControlKind::ColourButton, &DiyPage::choosePerKey},
    {AllKeysKey, "allKeysButton", ControlKind::ColourButton, &DiyPage::chooseAllKeys},
}};

DiyPage::DiyPage(AppContext& context, int32_t effect, KeyAssignmentPage& keyboard, QWidget* parent)
    : LightingPage(context, effect, parent), m_keyboard(keyboard) {
    buildControls<DiyPage>(*this, kControls, [this] {
        const QRect rect = placementRect(BrightnessKey);
        m_brightness = CclickHSlider::create(m_context.skinsFolder() + "slider.bmp", rect, this,
                                             ControlIds::kBrightnessSlider);
        if (m_brightness) {
            m_brightness->setBackground(rect, background());
            m_brightness->setRange(0, 10);
            m_brightness->setRounding(true);
            connect(m_brightness, &CclickHSlider::valueChanged, this, &DiyPage::sliderMoved,
                    Qt::QueuedConnection);
        }
    });
    for (ColourButton* button : {perKeyButton(), allKeysButton()})
        button->setInsets(8, 9);
}

int DiyPage::index() const {
    return m_entry.effect - kFirstDiyEffect;
}

SkinLabel* DiyPage::brightnessLabel() const {
    return control<SkinLabel>(BrightnessLabelKey);
}

ColourButton* DiyPage::perKeyButton() const {
    return control<ColourButton>(PerKeyKey);
}

ColourButton* DiyPage::allKeysButton() const {
    return control<ColourButton>(AllKeysKey);
}

void DiyPage::refresh() {
    const ProfileRecord& p = m_context.currentProfile();
    const int t = index();
    perKeyButton()->setChecked(p.DIYColorOption[t] == 0);
    allKeysButton()->setChecked(p.DIYColorOption[t] == 1);
    const int32_t brightness = p.Brightness[m_entry.brightnessEntry];
    if (m_brightness)
        m_brightness->setValue(brightness);
    brightnessLabel()->setText(percentageText(brightness));
    perKeyButton()->setColour(static_cast<uint32_t>(p.DIYColor[t][0]));
    allKeysButton()->setColour(static_cast<uint32_t>(p.DIYColor[t][1]));
    perKeyButton()->update();
    allKeysButton()->update();
    // A press on a colour key shows the paint colour at once; the colour
    // keys paint for the current effect only.
    if (p.LtSwitch == m_entry.effect)
        m_keyboard.setBrushColour(static_cast<uint32_t>(p.DIYColor[t][0]));
}

void DiyPage::sliderMoved(int value, int controlId) {
    if (controlId != ControlIds::kBrightnessSlider)
        return;
    m_context.currentProfile().Brightness[m_entry.brightnessEntry] = value;
    brightnessLabel()->setText(percentageText(value));
}

void DiyPage::choosePerKey() {
    chooseMode(kPerKey);
}

void DiyPage::chooseAllKeys() {
    chooseMode(kAllKeys);
}

void DiyPage::chooseMode(int mode) {
    ProfileRecord& p = m_context.currentProfile();
    const int t = index();
    ColourButton* button = mode == kPerKey ? perKeyButton() : allKeysButton();
    perKeyButton()->setChecked(mode == kPerKey);
    allKeysButton()->setChecked(mode == kAllKeys);
    // A click on the mode already chosen asks for its colour.
    if (p.DIYColorOption[t] == mode) {
        if (const std::optional<uint32_t> colour = SelectColourDialog::choose(
                m_context, static_cast<uint32_t>(p.DIYColor[t][mode]), this)) {
            p.DIYColor[t][mode] = static_cast<int32_t>(*colour);
            button->setColour(*colour);
            button->update();
            if (mode == kPerKey)
                m_keyboard.setBrushColour(*colour);
        }
    }
    p.DIYColorOption[t] = mode;
    // In lighting view the keys show the mode's colours, and can be painted
    // in per-key mode only.
    if (m_context.viewState() == 1)
        m_keyboard.setKeyboardLook(KeyAssignmentPage::Look::Lighting);
}

} // namespace vantrel
