#pragma once

#include <QLineEdit>

namespace vantrel {

// The one-line text field of the skinned windows: fixed colours, its own
// font, an optional digits-only filter, and notices to its window. Windows
// connect the notices queued, so that each arrives after the change or focus
// move that caused it has been handled.
class BitmapEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit BitmapEdit(QWidget* parent = nullptr);

    // Only digits pass the keys and the text; with allowSign "-" and "+" too.
    void setDigitsOnly(bool on) { m_digitsOnly = on; }
    bool digitsOnly() const { return m_digitsOnly; }
    void setAllowSign(bool on) { m_allowSign = on; }
    bool allowSign() const { return m_allowSign; }
    // A digits-only text may end in a unit (" ms"): it stays while editing,
    // and every digit typed goes before it.
    void setUnit(const QString& unit) { m_unit = unit; }
    const QString& unit() const { return m_unit; }

    // Dark grey text on white unless a window asks otherwise.
    void setColours(const QColor& text, const QColor& back);

signals:
    // After every change of the text, and whenever the edit loses the focus.
    void killFocus();
    // The Enter key was released in the edit.
    void enterReleased();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onTextChanged(const QString& text);
    void keepUnit(const QString& text);

    bool m_digitsOnly = false;
    bool m_allowSign = false;
    QString m_unit;
};

} // namespace vantrel
