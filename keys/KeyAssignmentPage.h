#pragma once

#include "lighting/EffectRenderer.h"
#include "skin/SkinImage.h"
#include "skin/SkinPage.h"

#include <QTimer>

#include <array>
#include <cstdint>

namespace vantrel {

class AppContext;
class Clock;
class ColourButton;
class SkinButton;
class ShapedButton;
struct MacroKeyInfo;
struct ProfileRecord;

// The keyboard picture in the main window's first page area: 128 key buttons
// whose menu gives a key its function, each showing what it does in its
// tooltip and look, and, over the same places, 128 colour keys that show the
// lighting as the keyboard will (a live preview) and that the DIY lighting
// pages paint with.
class KeyAssignmentPage final : public SkinPage {
    Q_OBJECT
public:
    enum class Look { Keys = 0, Lighting = 1 };

    // Key position i stands at "BUTTONPOS" key 40 + i.
    static constexpr int kFirstKeyPlacement = 40;
    // Position 43 is drawn by the Enter key; 89 has no key of its own.
    static constexpr int kEnterPosition = 43;
    static constexpr int kDisabledPosition = 89;

    KeyAssignmentPage(AppContext& context, QWidget* parent);

    void setKeyboardLook(Look look);
    Look keyboardLook() const { return m_look; }

    // Shows what each key of the current profile does.
    void refreshKeyLabels();
    void refresh() override { refreshKeyLabels(); }

    // Opens the key function menu at key position k and carries out its choice.
    void selectKey(int k);
    int selectedKey() const { return m_selectedKey; }
    // Does what the menu command says to the selected key.
    void runCommand(int command);

    SkinButton* keyButton(int position) const;
    ShapedButton* enterKey() const { return m_enterKey; }
    ColourButton* colourKey(int position) const;
    // The colour a press on a colour key paints with, for all 128.
    void setBrushColour(uint32_t colour);

    // In the lighting look the colour keys show the edited profile's lighting
    // at the clock's time, redrawn about 30 times a second while the page is
    // visible, so that every change of a page shows at once.
    void setPreviewClock(const Clock& clock) { m_clock = &clock; }
    void showPreviewFrame();
    bool previewRunning() const { return m_previewTimer.isActive(); }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    static const std::array<SkinControl<KeyAssignmentPage>, 1> kControls;

    void makeColourKeys();
    void colourKeyClicked(int position);
    void paintKey(int position);
    void runPreviewWhileSeen();
    // The button that shows position: the Enter key for 43.
    SkinButton* shownButton(int position) const;

    AppContext& m_context;
    Look m_look = Look::Keys;
    int m_selectedKey = 0;
    ShapedButton* m_enterKey = nullptr;
    std::array<ColourButton*, 128> m_colourKeys{};
    // Each key's standard look; its assigned look shows the pressed picture
    // as its normal one.
    std::array<SkinPictures, 128> m_standardLooks;
    SkinPictures m_enterStandardLook;
    EffectRenderer m_renderer;
    QTimer m_previewTimer;
    const Clock* m_clock;
};

} // namespace vantrel
