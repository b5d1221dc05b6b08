#include "app/ProfileDialog.h"
#include "settings/LanguageStrings.h"
#include "settings/ProfileDefaults.h"
#include "settings/TextField.h"
#include "skin/BitmapEdit.h"
#include "skin/SkinButton.h"
#include "tests/app/AppFixture.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace vantrel;
using vantrel::test::AppFixture;

namespace {

struct DialogFixture : AppFixture {
    std::unique_ptr<ProfileRecord> profile = std::make_unique<ProfileRecord>();

    DialogFixture() {
        context = std::make_unique<AppContext>(folder.folder(), runtime);
        resetProfile(*profile, 0, LanguageStrings());
        copyToField(profile->ProFileName, "Racing");
        copyToField(profile->GameFile, "/games/race.exe");
    }

    // Opens the dialog, lets act work on it, and returns the dialog's result.
    int run(ProfileDialog::Fill fill, const std::function<void(QDialog&)>& act) {
        int result = -1;
        context->dialogs().answerNext([&](QDialog& d) {
            d.show(); // as exec() would; the mouse reaches shown windows only
            act(d);
            result = d.result();
            return result;
        });
        ProfileDialog::open(*context, *profile, fill, nullptr);
        return result;
    }
};

BitmapEdit* box(QDialog& d, const char* name) {
    return d.findChild<BitmapEdit*>(QString::fromLatin1(name));
}

void press(QDialog& d, const char* name) {
    QTest::mouseClick(d.findChild<SkinButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

} // namespace

TEST(ProfileDialog, FilledOrEmptyAndOkWritesBothFields) {
    DialogFixture f;
    f.run(ProfileDialog::Fill::FromProfile, [](QDialog& d) {
        EXPECT_EQ(box(d, "nameBox")->text(), QStringLiteral("Racing"));
        EXPECT_EQ(box(d, "gameBox")->text(), QStringLiteral("/games/race.exe"));
        press(d, "cancelButton");
    });
    EXPECT_EQ(f.run(ProfileDialog::Fill::Empty,
                    [](QDialog& d) {
                        EXPECT_TRUE(box(d, "nameBox")->text().isEmpty());
                        EXPECT_TRUE(box(d, "gameBox")->text().isEmpty());
                        QTest::keyClicks(box(d, "nameBox"), QStringLiteral("Sniper"));
                        press(d, "okButton");
                    }),
              QDialog::Accepted);
    EXPECT_EQ(fieldText(f.profile->ProFileName), "Sniper");
    EXPECT_EQ(fieldText(f.profile->GameFile), ""); // the empty game box empties it
    EXPECT_EQ(f.profile->LtSwitch, 6);
}

TEST(ProfileDialog, NameStopsAtTwentyCharacters) {
    DialogFixture f;
    f.run(ProfileDialog::Fill::Empty, [](QDialog& d) {
        QTest::keyClicks(box(d, "nameBox"), QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        EXPECT_EQ(box(d, "nameBox")->text(), QStringLiteral("abcdefghijklmnopqrst"));
        press(d, "okButton");
    });
    EXPECT_EQ(fieldText(f.profile->ProFileName), "abcdefghijklmnopqrst");
}

TEST(ProfileDialog, CancelsAndBrowseChangeNothing) {
    DialogFixture f;
    const std::string game = f.folder.file("other.exe");
    vantrel::test::writeFile(game, "");
    for (const char* cancel : {"cancelButton", "closeButton"}) {
        const int result = f.run(ProfileDialog::Fill::FromProfile, [&](QDialog& d) {
            f.chooseFile(game, [](const FileRequest& files) {
                EXPECT_EQ(files.defaultSuffix, QStringLiteral("exe"));
                EXPECT_TRUE(files.filter.contains(QStringLiteral("*.exe")));
            });
            press(d, "browseButton");
            EXPECT_EQ(box(d, "gameBox")->text().toStdString(), game);
            QTest::keyClicks(box(d, "nameBox"), QStringLiteral("X"));
            press(d, cancel);
        });
        EXPECT_EQ(result, QDialog::Rejected);
        EXPECT_EQ(fieldText(f.profile->ProFileName), "Racing");
        EXPECT_EQ(fieldText(f.profile->GameFile), "/games/race.exe");
    }
}

TEST(ProfileDialog, ALongGamePathIsCutAtACharacterBoundary) {
    DialogFixture f;
    // 500 ASCII bytes, then two-byte characters: the field holds 501 bytes.
    const QString path =
        QStringLiteral("/") + QString(499, QLatin1Char('g')) + QString(10, QChar(0x00E9));
    f.run(ProfileDialog::Fill::Empty, [&](QDialog& d) {
        box(d, "gameBox")->setText(path);
        press(d, "okButton");
    });
    EXPECT_EQ(fieldText(f.profile->GameFile), "/" + std::string(499, 'g'));
}
