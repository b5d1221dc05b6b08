#include "skin/BitmapEdit.h"

#include "skin/ColourWord.h"
#include "skin/DigitFilter.h"
#include "skin/Palette.h"
#include "skin/SkinFonts.h"

#include <QKeyEvent>

#include <algorithm>

namespace vantrel {

namespace {

bool isEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The keys a digits-only edit lets through: digits of both blocks, editing and
// caret keys, Enter, and the "=+" and "-_" keys of the main block (not the
// keypad's plus and minus).
bool passesDigitKeyFilter(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return true;
    switch (key) {
    case Qt::Key_Backspace:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return !(event.modifiers() & Qt::KeypadModifier);
    default:
        return false;
    }
}

} // namespace

BitmapEdit::BitmapEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setAutoFillBackground(true);
    setFont(SkinFonts::cell());
    setColours(colourFromWord(Palette::kEditText), colourFromWord(Palette::kEditGround));
    connect(this, &QLineEdit::textChanged, this, &BitmapEdit::onTextChanged);
}

void BitmapEdit::setColours(const QColor& text, const QColor& back) {
    QPalette colours = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        colours.setColor(group, QPalette::Text, text);
        colours.setColor(group, QPalette::Base, back);
        colours.setColor(group, QPalette::Window, back);
    }
    setPalette(colours);
}

bool BitmapEdit::event(QEvent* event) {
    // Filtered here rather than in keyPressEvent, so that Tab is dropped too
    // before it can move the focus.
    if (m_digitsOnly && event->type() == QEvent::KeyPress &&
        !passesDigitKeyFilter(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void BitmapEdit::keyPressEvent(QKeyEvent* event) {
    QLineEdit::keyPressEvent(event);
    // Enter is this edit's own business: it never confirms the window.
    if (isEnterKey(event->key()))
        event->accept();
}

void BitmapEdit::keyReleaseEvent(QKeyEvent* event) {
    if (isEnterKey(event->key()) && !event->isAutoRepeat())
        emit enterReleased();
    QLineEdit::keyReleaseEvent(event);
}

void BitmapEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // The edit's own context menu takes the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason)
        emit killFocus();
}

void BitmapEdit::onTextChanged(const QString& text) {
    if (m_digitsOnly && !m_unit.isEmpty()) {
        keepUnit(text);
    } else if (m_digitsOnly) {
        const QStringView view(text);
        const auto kept = static_cast<qsizetype>(DigitFilter::keptLength(
            std::u16string_view(view.utf16(), static_cast<size_t>(view.size())), m_allowSign));
        if (kept < text.size()) {
            // Replacing the whole text changes it once more, which gives the
            // corrected text its own notice before this one.
            const QString keptText = text.left(kept);
            selectAll();
            insert(keptText);
        }
    }
    emit killFocus();
}

void BitmapEdit::keepUnit(const QString& text) {
    QString digits;
    int caret = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] >= u'0' && text[i] <= u'9') {
            digits += text[i];
            if (i < cursorPosition())
                ++caret;
        }
    }
    // The unit always fits: digits give way to it.
    digits.truncate(maxLength() - m_unit.size());
    const QString kept = digits + m_unit;
    if (kept == text)
        return;
    // As for the digits, the corrected text gives its own notice first.
    selectAll();
    insert(kept);
    setCursorPosition(std::min(caret, static_cast<int>(digits.size())));
}

} // namespace vantrel
