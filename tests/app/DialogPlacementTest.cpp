// Where the skinned dialogs open on a real X server, which the offscreen
// platform cannot show.
#include "app/ProfileDialog.h"
#include "settings/ProfileRecord.h"
#include "skin/AppContext.h"
#include "skin/ConfirmationDialog.h"
#include "tests/TempProgramFolder.h"
#include "tests/XServer.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vantrel;
using vantrel::test::XServer;

TEST(DialogPlacement, DialogsOpenCentredOverTheirOwner) {
    if (!XServer::instance().running())
        GTEST_SKIP() << XServer::instance().whyNot();
    vantrel::test::TempProgramFolder folder;
    AppContext context(folder.folder(), std::nullopt);
    QWidget owner(nullptr, Qt::FramelessWindowHint);
    owner.setGeometry(350, 100, 700, 600); // centred at (700, 400)
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));

    auto profile = std::make_unique<ProfileRecord>();
    const std::function<std::unique_ptr<QDialog>()> dialogs[] = {
        [&] {
            return std::make_unique<ProfileDialog>(context, *profile, ProfileDialog::Fill::Empty,
                                                   &owner);
        },
        [&] {
            return std::make_unique<ConfirmationDialog>(
                context.skinsFolder(), ConfirmationDialog::kResetAllWarning, &owner);
        },
    };
    for (const auto& make : dialogs) {
        std::unique_ptr<QDialog> dialog = make();
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        QTest::qWait(50);
        const QPoint topLeft = dialog->mapToGlobal(QPoint(0, 0));
        EXPECT_EQ(topLeft + QPoint(dialog->width() / 2, dialog->height() / 2), QPoint(700, 400))
            << dialog->metaObject()->className();
    }
}
