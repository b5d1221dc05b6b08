#include "macro/MacroListBox.h"
#include "skin/ControlIds.h"
#include "tests/UiWait.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;
using List = MacroEventList;

namespace {

void wheel(MacroListBox& list, int delta) {
    const QPointF at(10, 10);
    QWheelEvent event(at, list.viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list.viewport(), &event);
}

} // namespace

TEST(MacroListBox, EachWheelStepScrollsOneRowAndTheBarShowsOnlyOnOverflow) {
    MacroListBox list(ControlIds::kEventList, nullptr);
    list.resize(200, 5 * MacroListBox::kRowHeight);
    for (int i = 0; i < 30; ++i)
        list.addRow(QString::number(i), List::itemData(i, List::kKeyPressRow));
    list.show();
    QScrollBar* bar = list.verticalScrollBar();
    // Down for a zero or negative delta, however large.
    for (const int delta : {-120, -360, 0})
        wheel(list, delta);
    EXPECT_EQ(bar->value(), 3);
    wheel(list, 480);
    EXPECT_EQ(bar->value(), 2);
    EXPECT_TRUE(bar->isVisible());
    while (list.count() > 5) // as many as fit
        list.removeRow(0);
    handlePosted();
    EXPECT_FALSE(bar->isVisible());
}

TEST(MacroListBox, ARightClickIsToldAndSelectsNothing) {
    MacroListBox list(ControlIds::kEventList, nullptr);
    list.resize(200, 100);
    list.addRow(QStringLiteral("A"), List::itemData(0, List::kKeyPressRow));
    list.show();
    QSignalSpy told(&list, &MacroListBox::rightClicked);
    QTest::mouseClick(list.viewport(), Qt::RightButton, {}, QPoint(30, 5));
    ASSERT_EQ(told.count(), 1);
    EXPECT_EQ(told.at(0).at(0).toInt(), ControlIds::kEventList);
    EXPECT_EQ(list.selectedRow(), -1);
}

TEST(MacroListBox, FocusBackOnTheListCommitsTheEditorWithoutSelecting) {
    MacroListBox list(ControlIds::kMacroList, nullptr);
    list.resize(200, 100);
    list.addRow(QStringLiteral("First"), 0);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    QSignalSpy committed(&list, &MacroListBox::rowCommitted);
    list.openNewRowEditor();
    ASSERT_NE(list.editor(), nullptr);
    EXPECT_EQ(list.editor()->maxLength(), MacroListBox::kNameLength);
    // One editor at a time.
    list.openNewRowEditor();
    EXPECT_EQ(list.count(), 2);
    QTest::keyClicks(list.editor(), QStringLiteral("Second"));
    list.setFocus();
    handlePosted();
    EXPECT_EQ(list.editor(), nullptr);
    ASSERT_EQ(committed.count(), 1);
    EXPECT_EQ(committed.at(0).at(0).toInt(), 1);
    EXPECT_EQ(committed.at(0).at(1).toInt(), ControlIds::kMacroList);
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("Second"));
    EXPECT_EQ(list.selectedRow(), -1);
}

TEST(MacroListBox, ThePauseEditorStartsAfterTheIconAndKeepsItsUnit) {
    MacroListBox list(ControlIds::kEventList, nullptr);
    list.resize(200, 100);
    list.addRow(QStringLiteral("120 ms"), List::itemData(0, List::kPauseRow));
    list.show();
    list.openRowEditor(); // nothing selected: no editor
    EXPECT_EQ(list.editor(), nullptr);
    list.setCurrentRow(0);
    list.openRowEditor();
    ASSERT_NE(list.editor(), nullptr);
    // 16 for the icon and 5 before the text.
    EXPECT_EQ(list.editor()->geometry().left(), 21);
    EXPECT_EQ(list.editor()->text(), QStringLiteral("120 ms"));
    QTest::keyClicks(list.editor(), QStringLiteral("7")); // goes before the unit
    EXPECT_EQ(list.editor()->text(), QStringLiteral("7 ms"));
    QTest::keyClick(list.editor(), Qt::Key_Backspace);
    QTest::keyClick(list.editor(), Qt::Key_Return); // the unit alone is no pause
    EXPECT_EQ(list.count(), 0);
}
