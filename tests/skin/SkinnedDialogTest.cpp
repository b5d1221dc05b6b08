#include "skin/BitmapEdit.h"
#include "skin/ConfirmationDialog.h"
#include "skin/DialogRunner.h"
#include "skin/SkinButton.h"
#include "tests/skin/SkinFixture.h"

#include <QSignalSpy>

#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace vantrel;
using namespace vantrel::test;

namespace {

const QSize kDialogSize(200, 120);
const std::map<int, std::string> kButtons{{1, "BUTTON_OK,20,80,60,24,Yes, reset"},
                                          {2, "BUTTON_CANCEL,120,80,60,24,"},
                                          {3, "BUTTON_CLOSE,176,4,20,20,"}};

SkinButton* button(QWidget& dialog, const char* name) {
    return dialog.findChild<SkinButton*>(QString::fromLatin1(name));
}

void showAndWait(QWidget& dialog) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
}

} // namespace

TEST(SkinnedDialog, OpensAtTheSizeOfItsPictureShapedByItsMask) {
    TempDir dir;
    writeSkin(dir, "skin_reset_all_warn.ini", kDialogSize, kButtons);
    ConfirmationDialog dialog(dir.folder(), ConfirmationDialog::kResetAllWarning, nullptr);
    showAndWait(dialog);

    EXPECT_EQ(dialog.size(), kDialogSize);
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    const std::optional<QRegion> expected = regionFromMask(SkinImage(cornerMask(kDialogSize, 6)));
    ASSERT_TRUE(dialog.outline().has_value());
    EXPECT_TRUE(dialog.outline()->xored(*expected).isEmpty());
    EXPECT_TRUE(dialog.mask().xored(*expected).isEmpty());
    EXPECT_FALSE(dialog.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(dialog.mask().contains(QPoint(6, 0)));

    // The background is the "Normal" picture, one to one.
    const QImage grabbed = dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(grabbed.copy(0, 0, 20, 20),
              statePicture(kDialogSize, State::Normal).copy(0, 0, 20, 20));

    // Buttons sit at their placements with their pictures and hint texts.
    SkinButton* confirm = button(dialog, "confirmButton");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(confirm->geometry(), QRect(20, 80, 60, 24));
    EXPECT_EQ(confirm->toolTip(), QStringLiteral("reset"));
    EXPECT_EQ(confirm->pictures().down.image(),
              statePicture(kDialogSize, State::Down).copy(20, 80, 60, 24));
    EXPECT_FALSE(confirm->isChecked());
}

TEST(SkinnedDialog, WithoutAUsableMaskTheWindowStaysRectangular) {
    TempDir dir;
    writeSkin(dir, "skin_macro_set_warn.ini", kDialogSize, kButtons, false);
    ConfirmationDialog unmasked(dir.folder(), ConfirmationDialog::kMacroSetWarning, nullptr);
    EXPECT_FALSE(unmasked.outline().has_value());
    EXPECT_TRUE(unmasked.mask().isEmpty());

    // An all-white mask would hide the window for good: it is not used.
    QImage white(kDialogSize, QImage::Format_RGB32);
    white.fill(Qt::white);
    white.save(QString::fromStdString(dir.file("white.bmp")));
    writeFile(dir.file("skin_white.ini"),
              "[SCREEN]\r\nMask=white.bmp\r\nNormal=skin_macro_set_warn.ini_Normal.png\r\n");
    ConfirmationDialog whiteMasked(dir.folder(), "skin_white.ini", nullptr);
    EXPECT_EQ(whiteMasked.size(), kDialogSize);
    EXPECT_FALSE(whiteMasked.outline().has_value());
    EXPECT_TRUE(whiteMasked.mask().isEmpty());
}

TEST(SkinnedDialog, EnterEscapeAndCloseRequestsLeaveItOpen) {
    TempDir dir;
    writeSkin(dir, "skin_reset_current_warn.ini", kDialogSize, kButtons);
    ConfirmationDialog dialog(dir.folder(), ConfirmationDialog::kResetCurrentWarning, nullptr);
    showAndWait(dialog);
    QSignalSpy finished(&dialog, &QDialog::finished);
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(&dialog, key);
    EXPECT_FALSE(dialog.close());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(finished.count(), 0);
}

TEST(SkinnedDialog, ADragOnThePictureMovesItAndAPressOnAButtonDoesNot) {
    TempDir dir;
    writeSkin(dir, "skin_reset_current_warn.ini", kDialogSize, kButtons);
    ConfirmationDialog dialog(dir.folder(), ConfirmationDialog::kResetCurrentWarning, nullptr);
    showAndWait(dialog);
    dialog.move(100, 100);
    QApplication::processEvents();

    QTest::mousePress(&dialog, Qt::LeftButton, {}, QPoint(50, 30));
    QTest::mouseMove(&dialog, QPoint(80, 70));
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(50, 30));
    EXPECT_EQ(dialog.pos(), QPoint(130, 140));

    SkinButton* cancel = button(dialog, "cancelButton");
    QTest::mousePress(cancel, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(cancel, QPoint(-40, -40));
    QTest::mouseRelease(cancel, Qt::LeftButton, {}, QPoint(-40, -40));
    EXPECT_EQ(dialog.pos(), QPoint(130, 140));
    EXPECT_TRUE(dialog.isVisible());
}

TEST(SkinnedDialog, IsCentredOverItsOwner) {
    TempDir dir;
    writeSkin(dir, "skin_reset_all_warn.ini", kDialogSize, kButtons);
    QWidget owner;
    owner.setGeometry(300, 200, 600, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    ConfirmationDialog dialog(dir.folder(), ConfirmationDialog::kResetAllWarning, &owner);
    showAndWait(dialog);
    const QPoint offset = dialog.geometry().center() - owner.geometry().center();
    // Within the few pixels a guess at frame sizes may shift it.
    EXPECT_LE(std::abs(offset.x()), 4);
    EXPECT_LE(std::abs(offset.y()), 4);
}

TEST(ConfirmationDialog, ConfirmGivesOkAndCancelAndCloseGiveCancel) {
    TempDir dir;
    writeSkin(dir, "skin_reset_all_warn.ini", kDialogSize, kButtons);
    for (const char* name : {"confirmButton", "cancelButton", "closeButton"}) {
        ConfirmationDialog dialog(dir.folder(), ConfirmationDialog::kResetAllWarning, nullptr);
        showAndWait(dialog);
        QTest::mouseClick(button(dialog, name), Qt::LeftButton, {}, QPoint(3, 3));
        EXPECT_FALSE(dialog.isVisible()) << name;
        const int expected =
            std::string(name) == "confirmButton" ? QDialog::Accepted : QDialog::Rejected;
        EXPECT_EQ(dialog.result(), expected) << name;
    }
}

TEST(ConfirmationDialog, WithoutKeyOneItCanOnlyBeCancelled) {
    TempDir dir;
    writeSkin(dir, "skin_reset_all_warn.ini", kDialogSize,
              {{2, kButtons.at(2)}, {3, kButtons.at(3)}});
    ConfirmationDialog dialog(dir.folder(), ConfirmationDialog::kResetAllWarning, nullptr);
    showAndWait(dialog);
    SkinButton* confirm = button(dialog, "confirmButton");
    ASSERT_NE(confirm, nullptr);
    EXPECT_EQ(confirm->geometry(), QRect(0, 0, 0, 0));
    EXPECT_TRUE(confirm->pictures().normal.isEmpty());
    // Nothing at the top-left corner answers as the confirm button would.
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(0, 0));
    EXPECT_TRUE(dialog.isVisible());
}

TEST(ConfirmationDialog, AskTakesAnAnswerGivenInAdvance) {
    TempDir dir;
    writeSkin(dir, "skin_reset_current_warn.ini", kDialogSize, kButtons);
    DialogRunner runner;
    runner.answerNext(QDialog::Accepted);
    runner.answerNext(QDialog::Rejected);
    // An answer can also work the dialog as a user would.
    QString seenHint;
    runner.answerNext([&seenHint](QDialog& dialog) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        SkinButton* close = button(dialog, "closeButton");
        seenHint = button(dialog, "confirmButton")->toolTip();
        QTest::mouseClick(close, Qt::LeftButton, {}, QPoint(2, 2));
        return dialog.result();
    });
    const std::string skins = dir.folder();
    EXPECT_TRUE(
        ConfirmationDialog::ask(runner, skins, ConfirmationDialog::kResetCurrentWarning, nullptr));
    EXPECT_FALSE(
        ConfirmationDialog::ask(runner, skins, ConfirmationDialog::kResetCurrentWarning, nullptr));
    EXPECT_FALSE(
        ConfirmationDialog::ask(runner, skins, ConfirmationDialog::kResetCurrentWarning, nullptr));
    EXPECT_EQ(seenHint, QStringLiteral("reset"));
    EXPECT_FALSE(runner.hasPendingAnswers());
}

TEST(SkinnedDialog, PagesLiveInsideTheMainWindowAndPassOrKeepTheirDrags) {
    TempDir dir;
    writeSkin(dir, "main.ini", QSize(400, 300), {});
    writeSkin(dir, "keys.ini", QSize(150, 100), {{1, "KEY,10,10,30,30,"}});
    writeSkin(dir, "light.ini", QSize(150, 100), {});
    SkinnedDialog main(dir.folder(), "main.ini", SkinWindowKinds::kMainWindow, nullptr);
    SkinnedDialog keys(dir.folder(), "keys.ini", SkinWindowKinds::kKeyAssignmentPage, &main);
    SkinnedDialog light(dir.folder(), "light.ini", SkinWindowKinds::kLightingPage, &main);
    keys.move(10, 10);
    light.move(200, 10);
    showAndWait(main);
    EXPECT_FALSE(keys.isWindow());
    EXPECT_TRUE(keys.isVisible());
    EXPECT_EQ(keys.size(), QSize(150, 100));
    EXPECT_TRUE(main.isWindow());
    main.move(100, 100);
    QApplication::processEvents();

    // Dragging the keyboard page moves the main window.
    QTest::mousePress(&keys, Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mouseMove(&keys, QPoint(110, 75));
    // The page moved with the window, so the pointer is over the pressed spot again.
    QTest::mouseRelease(&keys, Qt::LeftButton, {}, QPoint(100, 60));
    EXPECT_EQ(main.pos(), QPoint(110, 115));
    EXPECT_EQ(keys.pos(), QPoint(10, 10));

    // A lighting page keeps the press: neither it nor the main window moves.
    QTest::mousePress(&light, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(&light, QPoint(80, 90));
    QTest::mouseRelease(&light, Qt::LeftButton, {}, QPoint(80, 90));
    EXPECT_EQ(main.pos(), QPoint(110, 115));
    EXPECT_EQ(light.pos(), QPoint(200, 10));
}

TEST(SkinnedDialog, KeysAreDroppedBeforeAnyControlOfTheWindowSeesThem) {
    TempDir dir;
    writeSkin(dir, "d.ini", QSize(100, 80), {});
    struct Case {
        const SkinWindowKind& kind;
        bool dropsSpace;
    };
    for (const Case& c : {Case{SkinWindowKinds::kMacroManagerDialog, true},
                          Case{SkinWindowKinds::kKeyAssignmentPage, true},
                          Case{SkinWindowKinds::kProfileDialog, false},
                          Case{SkinWindowKinds::kConfirmationDialog, false}}) {
        // A page is seen inside a main window, as the program shows it.
        SkinnedDialog window(dir.folder(), "d.ini", SkinWindowKinds::kMainWindow, nullptr);
        const bool page = c.kind.role == SkinWindowKind::Role::Page;
        auto* dialog = page ? new SkinnedDialog(dir.folder(), "d.ini", c.kind, &window)
                            : new SkinnedDialog(dir.folder(), "d.ini", c.kind, nullptr);
        std::unique_ptr<SkinnedDialog> own(page ? nullptr : dialog);
        auto* edit = new BitmapEdit(dialog);
        showAndWait(page ? window : *dialog);
        edit->setFocus();
        QSignalSpy pressed(edit, &QLineEdit::returnPressed);
        QSignalSpy released(edit, &BitmapEdit::enterReleased);

        QTest::keyClick(edit, Qt::Key_Space);
        EXPECT_EQ(edit->text().isEmpty(), c.dropsSpace) << c.dropsSpace;
        QTest::keyClick(edit, Qt::Key_Escape);
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(pressed.count(), 0);
        EXPECT_EQ(released.count(), 1); // editors act on the release
    }
}

TEST(SkinnedDialog, AWindowWhosePicturesCannotBeReadIsStillSeenAndClosed) {
    enum class Damage { Missing, Truncated };
    for (const char* picture : {"Normal", "Mask"}) {
        for (Damage damage : {Damage::Missing, Damage::Truncated}) {
            TempDir dir;
            writeSkin(dir, "skin_reset_all_warn.ini", kDialogSize, kButtons);
            const std::string file = std::string(picture) == "Mask"
                                         ? dir.file("skin_reset_all_warn.ini_mask.bmp")
                                         : dir.file("skin_reset_all_warn.ini_Normal.png");
            if (damage == Damage::Missing)
                std::filesystem::remove(file);
            else
                std::filesystem::resize_file(file, 40);

            ConfirmationDialog dialog(dir.folder(), ConfirmationDialog::kResetAllWarning, nullptr);
            showAndWait(dialog);
            if (std::string(picture) == "Normal") {
                // A usable size that holds every control, and the file named.
                EXPECT_GE(dialog.width(), 196);
                EXPECT_GE(dialog.height(), 104);
                EXPECT_TRUE(dialog.damageNotice().contains(QString::fromStdString(file)));
                EXPECT_EQ(button(dialog, "closeButton")->text(), QStringLiteral("BUTTON_CLOSE"));
            } else {
                // Without its outline the window keeps its rectangle and its look.
                EXPECT_EQ(dialog.size(), kDialogSize);
                EXPECT_FALSE(dialog.outline().has_value());
                EXPECT_TRUE(dialog.damageNotice().isEmpty());
            }
            QSignalSpy rejected(&dialog, &QDialog::rejected);
            QTest::mouseClick(button(dialog, "closeButton"), Qt::LeftButton);
            EXPECT_EQ(rejected.count(), 1) << picture;
        }
    }
}
