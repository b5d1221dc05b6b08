#pragma once

#include "skin/SkinImage.h"
#include "skin/SkinPage.h"

#include <array>
#include <cstdint>

namespace vantrel {

class AppContext;
class ColourButton;
class SkinButton;
class ShapedButton;
struct MacroKeyInfo;
struct ProfileRecord;

// The keyboard picture in the main window's first page area: 128 key buttons
// whose menu gives a key its function, each showing what it does in its
// tooltip and look, and, over the same places, 128 colour keys that the DIY
// lighting pages paint with.
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

private:
    static const std::array<SkinControl<KeyAssignmentPage>, 1> kControls;

    void makeColourKeys();
    void paintKey(int position);
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
};

} // namespace vantrel
