#include "skin/SkinMenu.h"
#include "skin/MenuRunner.h"
#include "skin/SkinFonts.h"
#include "skin/SkinMenuStyle.h"
#include "tests/controls/ControlsFixture.h"

#include <QTimer>

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

constexpr QRgb kBack = qRgb(0x28, 0x28, 0x28);
constexpr QRgb kSelectedBack = qRgb(75, 24, 23);
constexpr QRgb kText = qRgb(0xE6, 0xE6, 0xE6);
constexpr QRgb kHighlight = qRgb(68, 191, 255);

QFont menuFont() {
    return SkinFonts::cellFont(QStringLiteral("Arial"), 14);
}

// Shows the menu and waits until it is on screen.
void popUp(SkinMenu& menu) {
    menu.menu().popup(QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu.menu()));
}

std::vector<int> itemHeights(const SkinMenu& menu) {
    std::vector<int> heights;
    for (QAction* action : menu.menu().actions())
        if (action->isVisible())
            heights.push_back(menu.menu().actionGeometry(action).height());
    return heights;
}

// How many pixels of colour lie in rect of image.
int countColour(const QImage& image, const QRect& rect, QRgb colour) {
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    return count;
}

// The rightmost column of rect holding a pixel of neither ground colour.
int rightmostInk(const QImage& image, const QRect& rect) {
    int rightmost = -1;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (image.pixel(x, y) != kBack && image.pixel(x, y) != kSelectedBack)
                rightmost = std::max(rightmost, x);
    return rightmost;
}

// Every pixel of the three outer rings is the frame colour, and the pixel just
// inside on row y (and column x) is the selected item's ground.
void expectFrame(const QImage& image, int rowInSelected, int columnInMenu) {
    const int w = image.width();
    const int h = image.height();
    for (int depth = 0; depth < SkinMenuStyle::kFrameWidth; ++depth) {
        for (int x = depth; x < w - depth; ++x) {
            EXPECT_EQ(image.pixel(x, depth), kBack) << "top ring " << depth;
            EXPECT_EQ(image.pixel(x, h - 1 - depth), kBack) << "bottom ring " << depth;
        }
        for (int y = depth; y < h - depth; ++y) {
            EXPECT_EQ(image.pixel(depth, y), kBack) << "left ring " << depth;
            EXPECT_EQ(image.pixel(w - 1 - depth, y), kBack) << "right ring " << depth;
        }
    }
    EXPECT_EQ(image.pixel(3, rowInSelected), kSelectedBack);
    EXPECT_EQ(image.pixel(w - 4, rowInSelected), kSelectedBack);
    EXPECT_EQ(image.pixel(columnInMenu, 3), kSelectedBack);
}

} // namespace

TEST(SkinMenu, ItemsAreTwentyHighSeparatorsFiveAndHiddenItemsTakeNoRoom) {
    SkinMenu menu(menuFont());
    menu.appendItem(SkinMenu::kHidden, QStringLiteral("hidden"));
    menu.appendItem(1101, QStringLiteral("Standard"));
    menu.appendItem(SkinMenu::kSeparator, QString());
    menu.appendItem(1100, QStringLiteral("Default"));
    popUp(menu);
    EXPECT_EQ(itemHeights(menu), (std::vector<int>{20, 5, 20}));
    // 20 + 5 + 20 between the frame's three pixels at either end.
    EXPECT_EQ(menu.menu().height(), 45 + 2 * 3);
    EXPECT_EQ(menu.menu().actionGeometry(menu.action(1101)).topLeft(), QPoint(3, 3));
    EXPECT_FALSE(menu.action(SkinMenu::kHidden)->isVisible());
}

TEST(SkinMenu, ItemsAreAsWideAsTheWidestTextAtEightPixelsACharacter) {
    SkinMenu narrow(menuFont());
    narrow.setItemWidth(110);
    narrow.appendItem(1001, QStringLiteral("Ab"));
    popUp(narrow);
    EXPECT_EQ(narrow.menu().actionGeometry(narrow.action(1001)).width(), 110);
    EXPECT_EQ(narrow.menu().width(), 116);

    SkinMenu wide(menuFont());
    wide.setItemWidth(110);
    wide.appendItem(1001, QStringLiteral("Ab"));
    wide.appendItem(1002, QStringLiteral("Sixteen letters!"));
    popUp(wide);
    EXPECT_EQ(wide.menu().actionGeometry(wide.action(1001)).width(), 128);
}

TEST(SkinMenu, AWideFontGrowsItemsSoThatTextAndArrowFit) {
    QFont bigFont = SkinFonts::cellFont(QStringLiteral("Arial"), 24);
    bigFont.setBold(true);
    SkinMenu submenu(bigFont);
    submenu.appendItem(1060, QStringLiteral("Inner"));
    SkinMenu menu(bigFont);
    menu.appendItem(1001, QStringLiteral("WMWM"));
    menu.appendItem(1002, QStringLiteral("WMWM"), &submenu);
    popUp(menu);
    const int textWidth = QFontMetrics(bigFont).horizontalAdvance(QStringLiteral("WMWM"));
    ASSERT_GT(textWidth, 4 * 8);
    const QRect opener = menu.menu().actionGeometry(menu.menu().actions().at(1));
    EXPECT_GE(opener.width(), 2 + textWidth + 6 + 4 + 4);
    const QImage shown = grabbed(menu.menu());
    // The arrow stands clear of the text.
    const int arrowLeft = opener.right() - 4 - 4 + 1;
    EXPECT_EQ(countColour(shown, QRect(arrowLeft - 3, opener.top(), 3, opener.height()), kText), 0);
    menu.menu().hide();
}

TEST(SkinMenu, FrameIsThreePixelsDeepAlsoWhenShownAgain) {
    SkinMenu menu(menuFont());
    menu.setItemWidth(60);
    menu.appendItem(1001, QStringLiteral("First"));
    menu.appendItem(1002, QStringLiteral("Second"));
    for (int showing = 0; showing < 2; ++showing) {
        popUp(menu);
        menu.menu().setActiveAction(menu.action(1001));
        const QImage shown = grabbed(menu.menu());
        ASSERT_EQ(shown.size(), QSize(6 + 60, 6 + 40));
        expectFrame(shown, 3 + 10, shown.width() / 2);
        menu.menu().hide();
        ASSERT_FALSE(menu.menu().isVisible());
    }
}

TEST(SkinMenu, DrawsSeparatorLinesTextHighlightTrademarkAndSubmenuArrow) {
    // A large font, so that the strokes of the letters have solid pixels.
    QFont bigFont = SkinFonts::cellFont(QStringLiteral("Arial"), 18);
    bigFont.setBold(true);
    SkinMenu submenu(bigFont);
    submenu.appendItem(1060, QStringLiteral("Inner"));
    SkinMenu menu(bigFont);
    menu.setItemWidth(150);
    menu.appendItem(1001, QStringLiteral("HIH"));
    menu.appendItem(SkinMenu::kSeparator, QString());
    menu.appendItem(1002, QStringLiteral("HIH"), nullptr, 1);
    menu.appendItem(1003, QStringLiteral("HIH"), nullptr, -1, 1);
    menu.appendItem(1004, QStringLiteral("More"), &submenu);
    popUp(menu);
    const QMenu& qmenu = menu.menu();
    const QRect plain = qmenu.actionGeometry(menu.action(1001));
    const QRect separator = qmenu.actionGeometry(qmenu.actions().at(1));
    const QRect highlighted = qmenu.actionGeometry(menu.action(1002));
    const QRect marked = qmenu.actionGeometry(menu.action(1003));
    const QRect opener = qmenu.actionGeometry(qmenu.actions().at(4));

    QImage shown = grabbed(menu.menu());
    EXPECT_GT(countColour(shown, plain, kText), 0);
    EXPECT_EQ(countColour(shown, plain, kHighlight), 0);
    // The separator: its middle row is the line, the rest is ground.
    const int middle = separator.top() + 2;
    EXPECT_EQ(countColour(shown, QRect(separator.left(), middle, separator.width(), 1), kText),
              separator.width());
    EXPECT_EQ(countColour(shown, separator, kBack), separator.width() * 4);
    // Highlight-flagged text is drawn in the highlight colour.
    EXPECT_GT(countColour(shown, highlighted, kHighlight), 0);
    EXPECT_EQ(countColour(shown, highlighted, kText), 0);
    // The "TM" mark follows the text.
    EXPECT_GT(rightmostInk(shown, marked), rightmostInk(shown, plain) + 4);
    // The arrow's tip column near the right edge.
    const int tipX = opener.right() - 4;
    const int centreY = opener.top() + (opener.height() - 7) / 2 + 3;
    EXPECT_EQ(shown.pixel(tipX, centreY), kText);
    EXPECT_EQ(shown.pixel(tipX, centreY - 1), kBack);
    EXPECT_EQ(shown.pixel(tipX - 3, centreY - 3), kText);

    // Selected, highlight-flagged text keeps its colour on the selected ground.
    menu.menu().setActiveAction(menu.action(1002));
    shown = grabbed(menu.menu());
    EXPECT_GT(countColour(shown, highlighted, kSelectedBack), 0);
    EXPECT_GT(countColour(shown, highlighted, kHighlight), 0);
    menu.menu().setActiveAction(menu.action(1001));
    shown = grabbed(menu.menu());
    EXPECT_GT(countColour(shown, plain, kSelectedBack), 0);
    EXPECT_GT(countColour(shown, plain, kText), 0);
    menu.menu().hide();
}

TEST(SkinMenu, RunnerAnswersInAdvanceWithoutShowingTheMenu) {
    SkinMenu menu(menuFont());
    menu.appendItem(1001, QStringLiteral("First"));
    MenuRunner runner;
    runner.answerNext(1001);
    runner.answerNext([](SkinMenu& shown) {
        EXPECT_FALSE(shown.menu().isVisible());
        return 0;
    });
    EXPECT_EQ(runner.run(menu, QPoint(10, 10)), 1001);
    EXPECT_EQ(runner.run(menu, QPoint(10, 10)), 0);
    EXPECT_FALSE(runner.hasPendingAnswers());
}

TEST(SkinMenu, ExecGivesTheIdentifierChosenAlsoInASubmenuAndZeroWhenLeft) {
    SkinMenu submenu(menuFont());
    submenu.appendItem(1060, QStringLiteral("Manager"));
    submenu.appendItem(SkinMenu::kSeparator, QString());
    submenu.appendItem(1061, QStringLiteral("Choose"));
    SkinMenu menu(menuFont());
    menu.appendItem(1002, QStringLiteral("Standard"));
    menu.appendItem(1071, QStringLiteral("Macro"), &submenu);

    // Down to the submenu, open it, down past the separator, choose.
    QTimer::singleShot(0, &menu.menu(), [&] {
        QTest::keyClick(&menu.menu(), Qt::Key_Down);
        QTest::keyClick(&menu.menu(), Qt::Key_Down);
        QTest::keyClick(&menu.menu(), Qt::Key_Right);
        QTest::keyClick(&submenu.menu(), Qt::Key_Down);
        QTest::keyClick(&submenu.menu(), Qt::Key_Return);
    });
    EXPECT_EQ(menu.exec(QPoint(10, 10)), 1061);

    QTimer::singleShot(0, &menu.menu(), [&] { QTest::keyClick(&menu.menu(), Qt::Key_Escape); });
    EXPECT_EQ(menu.exec(QPoint(10, 10)), 0);
}
