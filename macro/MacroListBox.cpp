#include "macro/MacroListBox.h"

#include "skin/BitmapEdit.h"
#include "skin/ColourWord.h"
#include "skin/Palette.h"
#include "skin/ProgramPictures.h"
#include "skin/SkinFonts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace vantrel {

namespace {

constexpr int kIconTop = 2;

QPixmap blackSeeThrough(const char* path) {
    QPixmap picture(QString::fromLatin1(path));
    if (!picture.isNull())
        picture.setMask(picture.createMaskFromColor(Qt::black));
    return picture;
}

} // namespace

MacroListBox::MacroListBox(int listId, QWidget* parent)
    : QListWidget(parent), m_listId(listId), m_background(Qt::white), m_selection(Qt::darkBlue),
      m_text(Qt::black), m_selectedText(Qt::white) {
    setFont(SkinFonts::macroList());
    setFrameShape(QFrame::NoFrame);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_icons = {
        {MacroEventList::kPauseRow, blackSeeThrough(ProgramPictures::kPauseIcon)},
        {MacroEventList::kKeyReleaseRow, blackSeeThrough(ProgramPictures::kKeyReleaseIcon)},
        {MacroEventList::kKeyPressRow, blackSeeThrough(ProgramPictures::kKeyPressIcon)},
        {MacroEventList::kMouseButtonRow, blackSeeThrough(ProgramPictures::kMouseButtonIcon)},
    };
}

void MacroListBox::setColours(const QColor& background, const QColor& selection) {
    m_background = background;
    m_selection = selection;
    // The scroll bars in the list's own dark colours, not the desktop's light ones.
    QPalette bars = palette();
    bars.setColor(QPalette::Window, background);
    bars.setColor(QPalette::Base, background);
    bars.setColor(QPalette::Button, colourFromWord(Palette::kLine));
    bars.setColor(QPalette::ButtonText, colourFromWord(Palette::kTextDim));
    verticalScrollBar()->setPalette(bars);
    horizontalScrollBar()->setPalette(bars);
    viewport()->update();
}

void MacroListBox::setTextColours(const QColor& normal, const QColor& selected) {
    m_text = normal;
    m_selectedText = selected;
    viewport()->update();
}

void MacroListBox::addRow(const QString& text, uint32_t itemData) {
    insertRow(count(), itemData, text);
}

void MacroListBox::insertRow(int index, uint32_t itemData, const QString& text) {
    auto* item = new QListWidgetItem(text);
    item->setData(Qt::UserRole, itemData);
    item->setSizeHint(QSize(0, kRowHeight));
    insertItem(index, item);
}

void MacroListBox::removeRow(int row) {
    const QSignalBlocker quiet(this);
    delete takeItem(row);
}

uint32_t MacroListBox::itemData(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->data(Qt::UserRole).toUInt() : 0;
}

void MacroListBox::setRows(const MacroEventList::Rows& rows) {
    closeEditor();
    const QSignalBlocker quiet(this);
    setUpdatesEnabled(false);
    clear();
    for (const MacroEventList::Row& row : rows.rows)
        addRow(QString::fromStdString(row.text), row.itemData);
    if (rows.target >= 0) {
        setCurrentRow(rows.target, QItemSelectionModel::NoUpdate);
        scrollToItem(item(rows.target));
    }
    setUpdatesEnabled(true);
}

int MacroListBox::selectedRow() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : row(selected.constFirst());
}

void MacroListBox::selectRow(int row) {
    const QSignalBlocker quiet(this);
    if (row >= 0 && row < count())
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    else
        clearSelection();
}

int MacroListBox::textInset(uint32_t itemData) {
    return MacroEventList::rowKind(itemData) != 0 ? kIconWidth + kTextInset : kTextInset;
}

void MacroListBox::openNewRowEditor() {
    if (m_editor)
        return;
    addRow(QString(), 0);
    openEditor(count() - 1, kNameLength, false);
}

void MacroListBox::openRowEditor() {
    const int row = selectedRow();
    if (m_editor || row < 0)
        return;
    openEditor(row, kPauseLength, true);
}

QPixmap MacroListBox::icon(uint16_t kind) const {
    const auto found = m_icons.find(kind);
    return found == m_icons.end() ? QPixmap() : found->second;
}

void MacroListBox::openEditor(int row, int maxLength, bool digitsOnly) {
    QRect area = visualItemRect(item(row)).adjusted(1, 0, -2, 0);
    if (digitsOnly)
        area.setLeft(visualItemRect(item(row)).left() + textInset(itemData(row)));
    m_editedRow = row;
    m_editor = new BitmapEdit(viewport());
    m_editor->setObjectName(QStringLiteral("rowEditor"));
    m_editor->setDigitsOnly(digitsOnly);
    // The pause editor keeps the row's unit: "250 ms" stays "250 ms" on Enter.
    if (digitsOnly)
        m_editor->setUnit(QString::fromLatin1(MacroEventList::kPauseUnit));
    m_editor->setFont(font());
    m_editor->setMaxLength(maxLength);
    m_editor->setGeometry(area);
    m_editor->setText(item(row)->text());
    m_editor->selectAll();
    m_enterDown = false;
    m_escapeDown = false;
    // Before the window's key gate, which drops these presses: a release
    // whose press came before the editor opened (the Enter that chose a menu
    // entry) must not close it.
    qApp->installEventFilter(this);
    connect(m_editor, &BitmapEdit::enterReleased, this, [this] {
        if (m_enterDown)
            commit(true);
    });
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void MacroListBox::commit(bool select) {
    if (!m_editor)
        return;
    const QString text = m_editor->text();
    const int row = m_editedRow;
    const uint32_t data = itemData(row);
    removeRow(row);
    // A pause editor left with its unit alone holds nothing.
    const bool inserted = !text.isEmpty() && text != m_editor->unit();
    if (inserted) {
        const QSignalBlocker quiet(this);
        insertRow(row, data, text);
        if (select)
            selectRow(row);
    }
    closeEditor();
    if (inserted)
        emit rowCommitted(row, m_listId);
}

void MacroListBox::cancelEdit() {
    if (!m_editor)
        return;
    removeRow(m_editedRow);
    closeEditor();
}

void MacroListBox::closeEditor() {
    if (!m_editor)
        return;
    m_editedRow = -1;
    // The editor may be inside one of its own handlers.
    qApp->removeEventFilter(this);
    m_editor->hide();
    m_editor->deleteLater();
    m_editor = nullptr;
    viewport()->update();
}

bool MacroListBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_editor ||
        (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return QListWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (event->type() == QEvent::KeyPress) {
        m_enterDown = m_enterDown || enter;
        m_escapeDown = m_escapeDown || key == Qt::Key_Escape;
    } else if (key == Qt::Key_Escape && m_escapeDown) {
        cancelEdit();
        return true;
    }
    return false;
}

void MacroListBox::focusInEvent(QFocusEvent* event) {
    // Leaving the editor for the list keeps what was typed.
    if (m_editor)
        commit(false);
    QListWidget::focusInEvent(event);
}

void MacroListBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit rightClicked(m_listId);
        return;
    }
    QListWidget::mousePressEvent(event);
}

void MacroListBox::wheelEvent(QWheelEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + (event->angleDelta().y() <= 0 ? 1 : -1));
    event->accept();
}

void MacroListBox::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), m_background);
    painter.setFont(font());
    const int rows = count();
    for (int i = indexAt(QPoint(0, 0)).row(); i >= 0 && i < rows; ++i) {
        const QRect rect = visualItemRect(item(i));
        if (rect.top() > viewport()->height())
            break;
        paintRow(painter, i, rect);
    }
}

void MacroListBox::paintRow(QPainter& painter, int row, const QRect& rect) {
    const QListWidgetItem* it = item(row);
    const uint32_t data = itemData(row);
    const uint16_t kind = MacroEventList::rowKind(data);
    const int textX = rect.left() + textInset(data);
    const QString text = it->text();
    const bool selected = it->isSelected();
    if (selected) {
        const int width = painter.fontMetrics().horizontalAdvance(text);
        painter.fillRect(QRect(textX, rect.top(), width, rect.height()), m_selection);
    }
    if (kind != 0) {
        const QPixmap picture = icon(kind);
        if (!picture.isNull())
            painter.drawPixmap(rect.left() + kTextInset, rect.top() + kIconTop, picture);
    }
    QColor colour = m_text;
    if (!isEnabled())
        colour = palette().color(QPalette::Dark);
    else if (selected && hasFocus())
        colour = m_selectedText;
    painter.setPen(colour);
    painter.drawText(QRect(textX, rect.top(), rect.right() - textX, rect.height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

} // namespace vantrel
