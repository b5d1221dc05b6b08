#pragma once

#include "skin/SkinnedDialog.h"

#include <QMetaObject>

#include <array>
#include <cstdint>

namespace vantrel {

class AppContext;
class BitmapEdit;
struct MacroKeyInfo;

// Gives a key a shortcut: one key, caught from the real keyboard, sent with
// the modifiers of five toggles. While the dialog is shown every key of the
// desktop comes to it, so it is closed with the mouse only.
class ShortcutDialog final : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr int kToggles = 5;

    // Its controls by "BUTTONPOS" key of "skin_shortcut.ini"; the toggles
    // stand on five keys from FirstToggleKey on.
    enum Key : int { OkKey = 2, CancelKey = 3, CloseKey = 4, FirstToggleKey = 5, KeyBoxKey = 10 };

    // Starts from the key and modifiers the entry presets for this dialog.
    ShortcutDialog(AppContext& context, const MacroKeyInfo& entry, QWidget* owner);
    ~ShortcutDialog() override;

    // Runs the dialog over owner. On OK the entry takes the shortcut, or its
    // standard function when no key was caught, and the result is true; on
    // Cancel or Exit the entry is left as it was.
    static bool edit(AppContext& context, MacroKeyInfo& entry, QWidget* owner);

    // The key to send: its key code, 0 for none.
    uint8_t keyCode() const { return m_keyCode; }
    // The modifier byte: 1 when toggle 0 is pressed, else bit i for each
    // pressed toggle i of 1..4.
    uint8_t modifiers() const;
    // What the dialog says where it cannot take the keys from other programs;
    // empty where it can.
    const QString& captureNotice() const { return m_captureNotice; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void paintContents(QPainter& painter) override;

private:
    static const std::array<SkinControl<ShortcutDialog>, 5> kControls;

    void startCapture();
    void stopCapture();
    void keyReported(quint32 virtualKey, quint32 flags);
    void toggled(int index);
    void showToggles();
    void confirm();
    void cancel();

    AppContext& m_context;
    BitmapEdit* m_keyBox = nullptr;
    uint8_t m_keyCode = 0;
    std::array<bool, kToggles> m_toggles{};
    QString m_captureNotice;
    QMetaObject::Connection m_reports;
};

} // namespace vantrel
