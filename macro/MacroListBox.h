#pragma once

#include "macro/MacroEventList.h"
#include "skin/BitmapEdit.h"

#include <QColor>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>

#include <map>
#include <vector>

namespace vantrel {

// The list of the macro manager, for macro names and for a macro's events:
// rows 18 pixels high, drawn by the list itself with the icon of their kind,
// and an in-place editor for naming a new row or typing a pause.
class MacroListBox final : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 18;
    static constexpr int kIconWidth = 16;
    static constexpr int kTextInset = 5;
    static constexpr int kNameLength = 15;
    static constexpr int kPauseLength = 20;

    MacroListBox(int listId, QWidget* parent);

    void setColours(const QColor& background, const QColor& selection);
    void setTextColours(const QColor& normal, const QColor& selected);

    void addRow(const QString& text, uint32_t itemData);
    void insertRow(int index, uint32_t itemData, const QString& text);
    // Takes a row away without telling the owner.
    void removeRow(int row);
    uint32_t itemData(int row) const;
    // Replaces every row, sets the caret on target and shows it; no row ends selected.
    void setRows(const MacroEventList::Rows& rows);
    // The selected row, -1 when no row is selected.
    int selectedRow() const;
    // Selects row (none for -1) without telling the owner, as a program's own
    // choice is not the user's.
    void selectRow(int row);
    // The text's left edge in a row of that item data.
    static int textInset(uint32_t itemData);

    // Appends an empty row and opens the name editor on it.
    void openNewRowEditor();
    // Opens the pause editor on the selected row: digits before the row's unit.
    void openRowEditor();
    // Closes an open editor as Escape does, taking its row away.
    void cancelEdit();
    BitmapEdit* editor() const { return m_editor; }

    // The picture of a row kind; null for kinds without one.
    QPixmap icon(uint16_t kind) const;

signals:
    // The editor put non-empty text into row.
    void rowCommitted(int row, int listId);
    // The right mouse button was pressed on the list.
    void rightClicked(int listId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openEditor(int row, int maxLength, bool digitsOnly);
    void commit(bool selectRow);
    void closeEditor();
    void paintRow(QPainter& painter, int row, const QRect& rect);

    int m_listId;
    QColor m_background;
    QColor m_selection;
    QColor m_text;
    QColor m_selectedText;
    std::map<uint16_t, QPixmap> m_icons;
    QPointer<BitmapEdit> m_editor;
    int m_editedRow = -1;
    // Enter or Escape went down while the editor was open.
    bool m_enterDown = false;
    bool m_escapeDown = false;
};

} // namespace vantrel
