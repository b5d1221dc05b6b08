#pragma once

#include "skin/SkinControl.h"
#include "skin/SkinDescription.h"
#include "skin/SkinImage.h"
#include "skin/SkinWindowKind.h"

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vantrel {

class SkinButton;

// What every window of the program shares: no frame, the size, outline and
// look of its skin, controls placed by the skin from the window's table of
// controls, moved by dragging a free spot of its picture, and closed only
// through its own buttons (Enter and Escape do nothing).
class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    SkinnedDialog(std::string skinsFolder, std::string_view skinFile, const SkinWindowKind& kind,
                  QWidget* parent);

    const SkinDescription& description() const { return m_description; }
    // Where "BUTTONPOS" key places its control, in the window's pixels.
    QRect placementRect(int key) const { return rectOf(m_description.buttonPlacement(key)); }
    static QRect rectOf(const ControlPlacement& p) {
        return QRect(p.left, p.top, p.width(), p.height());
    }
    const SkinImage& background() const { return m_background; }
    // The shape given to the window; nothing when it keeps its rectangle.
    const std::optional<QRegion>& outline() const { return m_outline; }
    // What the window says when its picture cannot be read; empty otherwise.
    QString damageNotice() const;
    // Dialogs are centred over their owner.
    void setVisible(bool visible) override;
    // Whether a key press is dropped before it reaches receiver, a widget of
    // a skinned window.
    static bool dropsKeyPress(const QWidget& receiver, int key);

    // The control placed at "BUTTONPOS" key; nullptr when there is none of that type.
    template <typename Control = SkinButton> Control* control(int key) const {
        const auto found = m_controls.find(key);
        return found == m_controls.end() ? nullptr : qobject_cast<Control*>(found->second);
    }

protected:
    // Builds the window's controls from its table, then whatever more calls
    // for, and then lets go of the state pictures they were cut from.
    template <typename Window>
    void buildControls(Window& window, std::span<const SkinControl<Window>> table,
                       const std::function<void()>& more = {}) {
        for (const SkinControl<Window>& row : table)
            placeRow(window, row);
        if (more)
            more();
        releaseStatePictures();
    }
    // One row of a table, for rows that only some windows of a class have.
    template <typename Window> void placeRow(Window& window, const SkinControl<Window>& row) {
        for (int i = 0; i < row.count; ++i) {
            QWidget* widget = placeControl(row.key + i, row.role, row.count > 1 ? i : -1, row.kind);
            if (row.action)
                onClick(widget, [&window, action = row.action] { (window.*action)(); });
            if (row.indexedAction)
                onClick(widget, [&window, action = row.indexedAction, i] { (window.*action)(i); });
        }
    }

    // The four full-window pictures the controls are cut from: loaded when
    // first asked for, kept until the controls are built (their parts keep
    // what they show).
    const SkinPictures& statePictures();
    // Places button at placement with its pictures cut from the state
    // pictures, unchecked, with the placement's text as its tooltip.
    void createSkinnedButton(SkinButton& button, const ControlPlacement& placement);

    // The window's own texts and marks, drawn over the background.
    virtual void paintContents(QPainter& painter);
    // One line telling the user something (a refusal, a limit), in the highlight colour.
    static void paintNotice(QPainter& painter, const QRect& area, const QString& text);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Where a window without its picture starts, before its controls widen it.
    static constexpr QSize kDamagedSize{480, 240};
    // The strip at its foot that says which picture is damaged.
    static constexpr int kDamageNoticeHeight = 40;

    // A control of kind at "BUTTONPOS" key, named role (followed by index
    // unless it is negative).
    QWidget* placeControl(int key, const char* role, int index, ControlKind kind);
    void onClick(QWidget* control, std::function<void()> action);
    void releaseStatePictures();

    SkinDescription m_description;
    SkinWindowKind m_kind;
    SkinImage m_background;
    std::string m_damagedPicture;
    SkinPictures m_statePictures;
    bool m_statePicturesLoaded = false;
    std::map<int, QWidget*> m_controls;
    // Drops key presses for the whole window while it is shown (not for pages,
    // whose main window does it).
    QObject* m_keyGate = nullptr;
    std::optional<QRegion> m_outline;
    // Where the pointer holds the window during a drag without the window
    // manager's help; nothing while no such drag runs.
    std::optional<QPoint> m_dragOffset;
};

} // namespace vantrel
