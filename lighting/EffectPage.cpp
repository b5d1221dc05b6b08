#include "lighting/EffectPage.h"

#include "lighting/ColourPicker.h"
#include "lighting/ColourSwatch.h"
#include "lighting/ColourValueBox.h"
#include "lighting/EffectTable.h"
#include "settings/ProfileRecord.h"
#include "skin/AppContext.h"
#include "skin/CclickHSlider.h"
#include "skin/ColourButton.h"
#include "skin/ControlIds.h"
#include "skin/SkinLabel.h"

namespace vantrel {

const std::array<SkinControl<EffectPage>, 3> EffectPage::kControls{{
    {BrightnessLabelKey, "brightnessLabel", ControlKind::Label},
    {.key = FirstColourKey,
     .role = "colourButton",
     .kind = ControlKind::ColourButton,
     .count = kColours,
     .indexedAction = &EffectPage::chooseColour},
    {EighthChoiceKey, "eighthChoiceButton", ControlKind::Button, &EffectPage::chooseEighth},
}};
const SkinControl<EffectPage> EffectPage::kPulsationLabel{PulsationLabelKey, "pulsationLabel",
                                                          ControlKind::Label};
const SkinControl<EffectPage> EffectPage::kDirectionButtons{.key = FirstDirectionKey,
                                                            .role = "directionButton",
                                                            .count = kDirections,
                                                            .indexedAction =
                                                                &EffectPage::chooseDirection};

const SkinControl<EffectPage> EffectPage::kUnusedDirectionButtons{
    .key = FirstDirectionKey, .role = "unusedDirectionButton", .count = kDirections};

EffectPage::EffectPage(AppContext& context, int32_t effect, QWidget* parent)
    : LightingPage(context, effect, parent) {
    buildControls<EffectPage>(*this, kControls, [this] {
        const std::string thumb = m_context.skinsFolder() + "slider.bmp";
        const auto slider = [&](int key, int id, int minimum, int maximum) {
            const QRect rect = placementRect(key);
            CclickHSlider* s = CclickHSlider::create(thumb, rect, this, id);
            if (s) {
                s->setBackground(rect, background());
                s->setRange(minimum, maximum);
                s->setRounding(true);
                connect(s, &CclickHSlider::valueChanged, this, &EffectPage::sliderMoved,
                        Qt::QueuedConnection);
            }
            return s;
        };
        m_brightness = slider(BrightnessKey, ControlIds::kBrightnessSlider, 0, 10);
        if (hasPulsation()) {
            m_pulsation = slider(PulsationKey, ControlIds::kPulsationSlider, 1, 7);
            placeRow(*this, kPulsationLabel);
        }
        m_picker = new ColourPicker(placementRect(PickerKey), this);
        m_picker->setObjectName(QStringLiteral("picker"));
        connect(m_picker, &ColourPicker::colourPicked, this, &EffectPage::colourPicked,
                Qt::QueuedConnection);
        m_swatch = new ColourSwatch(placementRect(SwatchKey), this);
        m_swatch->setObjectName(QStringLiteral("swatch"));
        for (int c = 0; c < 3; ++c) {
            const QRect rect = placementRect(FirstValueBoxKey + c);
            auto* box = new ColourValueBox(rect, ControlIds::kRedBox + c, this);
            box->setObjectName(QStringLiteral("valueBox%1").arg(c));
            box->setPicturesFromSkin(rect, statePictures());
            box->setRange(0, 255);
            box->setStep(1);
            connect(box, &ColourValueBox::valueSet, this, &EffectPage::byteSet,
                    Qt::QueuedConnection);
            m_boxes[static_cast<size_t>(c)] = box;
        }
        if (hasDirections()) {
            placeRow(*this, kDirectionButtons);
        } else if (description().buttonPlacement(FirstDirectionKey).width() > 0) {
            // A skin shared with effects that have directions draws them for
            // every page: here they show disabled, so nobody clicks in vain.
            placeRow(*this, kUnusedDirectionButtons);
            for (int j = 0; j < kDirections; ++j)
                control(FirstDirectionKey + j)->setEnabled(false);
        }
    });
    for (int i = 0; i < kColours; ++i)
        colourButton(i)->setInsets(4, 5);
}

bool EffectPage::hasPulsation() const {
    return m_entry.pulsationSlot != EffectPageEntry::kNone;
}

bool EffectPage::hasDirections() const {
    return m_entry.directionEntry != EffectPageEntry::kNone;
}

SkinLabel* EffectPage::brightnessLabel() const {
    return control<SkinLabel>(BrightnessLabelKey);
}

SkinLabel* EffectPage::pulsationLabel() const {
    return control<SkinLabel>(PulsationLabelKey);
}

ColourButton* EffectPage::colourButton(int i) const {
    return control<ColourButton>(FirstColourKey + i);
}

SkinButton* EffectPage::eighthChoiceButton() const {
    return control(EighthChoiceKey);
}

SkinButton* EffectPage::directionButton(int j) const {
    return hasDirections() ? control(FirstDirectionKey + j) : nullptr;
}

std::optional<int> EffectPage::chosenColour() {
    const int32_t c = m_context.currentProfile().LtColor[m_entry.colourSlot];
    if (c >= 0 && c < kColours)
        return c;
    return std::nullopt;
}

void EffectPage::showBytes(uint32_t colour) {
    for (int c = 0; c < 3; ++c)
        valueBox(c)->setValue(static_cast<int>((colour >> (8 * c)) & 0xFF));
}

void EffectPage::refresh() {
    ProfileRecord& p = m_context.currentProfile();
    const int s = m_entry.colourSlot;
    const int32_t c = p.LtColor[s];
    for (int i = 0; i < kColours; ++i)
        colourButton(i)->setChecked(i == c);
    if (const std::optional<int> chosen = chosenColour())
        showBytes(static_cast<uint32_t>(p.Color[s][*chosen]));

    const int32_t brightness = p.Brightness[m_entry.brightnessEntry];
    if (m_brightness)
        m_brightness->setValue(brightness);
    brightnessLabel()->setText(percentageText(brightness));

    if (hasPulsation()) {
        const int32_t pulsation = p.LtPulsation[m_entry.pulsationSlot];
        if (m_pulsation)
            m_pulsation->setValue(pulsation);
        pulsationLabel()->setText(QString::number(pulsation));
    }

    for (int i = 0; i < kColours; ++i) {
        colourButton(i)->setColour(static_cast<uint32_t>(p.Color[s][i]));
        colourButton(i)->update();
    }
    if (m_entry.refreshRestoresEighthChoice && c == kEighthChoice)
        eighthChoiceButton()->setChecked(true);
    if (m_entry.refreshRestoresDirection) {
        for (int j = 0; j < kDirections; ++j)
            directionButton(j)->setChecked(j == p.Direction[m_entry.directionEntry]);
    }
}

void EffectPage::sliderMoved(int value, int controlId) {
    ProfileRecord& p = m_context.currentProfile();
    if (controlId == ControlIds::kBrightnessSlider) {
        p.Brightness[m_entry.brightnessEntry] = value;
        brightnessLabel()->setText(percentageText(value));
    } else if (controlId == ControlIds::kPulsationSlider && hasPulsation()) {
        p.LtPulsation[m_entry.pulsationSlot] = value;
        pulsationLabel()->setText(QString::number(value));
    }
}

void EffectPage::chooseEighth() {
    m_context.currentProfile().LtColor[m_entry.colourSlot] = kEighthChoice;
    eighthChoiceButton()->setChecked(true);
    for (int i = 0; i < kColours; ++i)
        colourButton(i)->setChecked(false);
}

void EffectPage::chooseColour(int i) {
    ProfileRecord& p = m_context.currentProfile();
    eighthChoiceButton()->setChecked(false);
    p.LtColor[m_entry.colourSlot] = i;
    for (int k = 0; k < kColours; ++k)
        colourButton(k)->setChecked(k == i);
    showBytes(static_cast<uint32_t>(p.Color[m_entry.colourSlot][i]));
}

void EffectPage::chooseDirection(int j) {
    m_context.currentProfile().Direction[m_entry.directionEntry] = j;
    for (int k = 0; k < kDirections; ++k)
        directionButton(k)->setChecked(k == j);
}

void EffectPage::colourPicked() {
    const uint32_t k = m_picker->colour();
    if (const std::optional<int> c = chosenColour()) {
        m_context.currentProfile().Color[m_entry.colourSlot][*c] = static_cast<int32_t>(k);
        showBytes(k);
        colourButton(*c)->setColour(k);
        colourButton(*c)->update();
    }
    m_swatch->setColour(k);
}

void EffectPage::byteSet(int value, int boxId) {
    const std::optional<int> c = chosenColour();
    const int shift = (boxId - ControlIds::kRedBox) * 8;
    if (!c || shift < 0 || shift > 16)
        return;
    int32_t& stored = m_context.currentProfile().Color[m_entry.colourSlot][*c];
    const uint32_t byte = static_cast<uint32_t>(value) & 0xFF;
    const uint32_t w =
        (static_cast<uint32_t>(stored) & ~(0xFFu << shift) & 0xFFFFFF) | (byte << shift);
    stored = static_cast<int32_t>(w);
    m_swatch->setColour(w);
    colourButton(*c)->setColour(w);
    colourButton(*c)->update();
}

} // namespace vantrel
