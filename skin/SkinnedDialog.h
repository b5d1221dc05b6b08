#pragma once

#include "skin/SkinDescription.h"
#include "skin/SkinImage.h"
#include "skin/SkinWindowKind.h"

#include <QDialog>

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

class SkinButton;

// What every window of the program shares: no frame, the size, outline and
// look of its skin, controls placed by the skin, moved by dragging a free spot
// of its picture, and closed only through its own buttons (Enter and Escape do
// nothing). A window adds its controls in its own constructor.
class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    SkinnedDialog(std::string skinsFolder, std::string_view skinFile, const SkinWindowKind& kind,
                  QWidget* parent);

    const SkinDescription& description() const { return m_description; }
    const SkinImage& background() const { return m_background; }
    // The shape given to the window; nothing when it keeps its rectangle.
    const std::optional<QRegion>& outline() const { return m_outline; }

protected:
    // The four full-window pictures the controls are cut from: decoded when
    // first asked for, kept until releaseStatePictures().
    const SkinPictures& statePictures();
    void releaseStatePictures();

    // Places button at placement with its pictures cut from the state
    // pictures, unchecked, with the placement's text as its tooltip.
    void createSkinnedButton(SkinButton& button, const ControlPlacement& placement);
    // A new button, a child of this window, at "BUTTONPOS" key.
    template <typename Button = SkinButton> Button* makeButton(int key) {
        auto* button = new Button(this);
        createSkinnedButton(*button, m_description.buttonPlacement(key));
        return button;
    }

    // The window's own texts and marks, drawn over the background.
    virtual void paintContents(QPainter& painter);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    SkinDescription m_description;
    SkinWindowKind m_kind;
    SkinImage m_mask;
    SkinImage m_background;
    SkinPictures m_statePictures;
    bool m_statePicturesLoaded = false;
    std::optional<QRegion> m_outline;
    // Where the pointer holds the window during a drag without the window
    // manager's help; nothing while no such drag runs.
    std::optional<QPoint> m_dragOffset;
};

} // namespace vantrel
