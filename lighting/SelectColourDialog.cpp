#include "lighting/SelectColourDialog.h"

#include "lighting/ColourPicker.h"
#include "lighting/ColourSwatch.h"
#include "lighting/ColourValueBox.h"
#include "skin/AppContext.h"
#include "skin/ControlIds.h"
#include "skin/SkinWindowKind.h"

namespace vantrel {

const std::array<SkinControl<SelectColourDialog>, 3> SelectColourDialog::kControls{{
    {OkKey, "okButton", ControlKind::Button, &SelectColourDialog::confirm},
    {CancelKey, "cancelButton", ControlKind::Button, &SelectColourDialog::cancel},
    {.key = FirstPresetKey,
     .role = "presetButton",
     .count = static_cast<int>(kPresets.size()),
     .indexedAction = &SelectColourDialog::choosePreset},
}};

SelectColourDialog::SelectColourDialog(AppContext& context, uint32_t colour, QWidget* owner)
    : SkinnedDialog(context.skinsFolder(), "Skin_select_color.ini",
                    SkinWindowKinds::kColourSelectionDialog, owner),
      m_colour(colour) {
    setObjectName(QStringLiteral("selectColourDialog"));
    buildControls<SelectColourDialog>(*this, kControls, [this] {
        m_picker = new ColourPicker(placementRect(PickerKey), this);
        m_picker->setObjectName(QStringLiteral("picker"));
        connect(m_picker, &ColourPicker::colourPicked, this, &SelectColourDialog::colourPicked,
                Qt::QueuedConnection);
        m_swatch = new ColourSwatch(placementRect(SwatchKey), this);
        m_swatch->setObjectName(QStringLiteral("swatch"));
        const char* const roles[] = {"redBox", "greenBox", "blueBox"};
        for (int c = 0; c < 3; ++c) {
            const QRect rect = placementRect(RedKey + c);
            auto* box = new ColourValueBox(rect, ControlIds::kRedBox + c, this);
            box->setObjectName(QLatin1String(roles[c]));
            box->setPicturesFromSkin(rect, statePictures());
            box->setRange(0, 255);
            box->setStep(1);
            connect(box, &ColourValueBox::valueSet, this, &SelectColourDialog::byteSet,
                    Qt::QueuedConnection);
            m_boxes[static_cast<size_t>(c)] = box;
        }
    });
    showColour();
}

std::optional<uint32_t> SelectColourDialog::choose(AppContext& context, uint32_t colour,
                                                   QWidget* owner) {
    SelectColourDialog dialog(context, colour, owner);
    if (context.dialogs().run(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.colour();
}

void SelectColourDialog::choosePreset(int i) {
    m_colour = kPresets[static_cast<size_t>(i)];
    showColour();
}

void SelectColourDialog::colourPicked() {
    m_colour = m_picker->colour();
    showColour();
}

void SelectColourDialog::byteSet(int value, int identifier) {
    const int c = identifier - ControlIds::kRedBox;
    if (c < 0 || c > 2)
        return;
    const int shift = 8 * c;
    const uint32_t byte = static_cast<uint32_t>(value) & 0xFF;
    m_colour = (m_colour & ~(0xFFu << shift) & 0xFFFFFF) | byte << shift;
    m_swatch->setColour(m_colour);
}

void SelectColourDialog::showColour() {
    for (int c = 0; c < 3; ++c)
        m_boxes[static_cast<size_t>(c)]->setValue(static_cast<int>((m_colour >> (8 * c)) & 0xFF));
    m_swatch->setColour(m_colour);
}

void SelectColourDialog::confirm() {
    accept();
}

void SelectColourDialog::cancel() {
    reject();
}

} // namespace vantrel
