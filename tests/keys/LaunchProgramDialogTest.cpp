#include "keys/LaunchProgramDialog.h"
#include "settings/TextField.h"
#include "skin/BitmapEdit.h"
#include "tests/KeyEntryFixture.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace vantrel;
using namespace vantrel::test;

namespace {

BitmapEdit* pathBox(QDialog& d) {
    return d.findChild<BitmapEdit*>(QStringLiteral("pathBox"));
}

// The entry as OK leaves it with path: only the path, the type and the
// macro fields change.
MacroKeyInfo launching(MacroKeyInfo entry, const std::string& path) {
    copyToField(entry.programPath, path);
    entry.assignType = path.empty() ? kAssignStandard : kAssignLaunch;
    entry.eventCount = 0;
    std::memset(entry.events, 0, sizeof entry.events);
    std::memset(entry.macroName, 0, sizeof entry.macroName);
    return entry;
}

} // namespace

TEST(LaunchProgramDialog, OkStoresThePathAsTypedOrTheStandardFunctionWhenEmpty) {
    const std::string longest = "/" + std::string(258, 'p'); // 259 bytes, the most that fits
    const std::string unusual = "  relative/dir/name with spaces.sh ";
    for (const std::string& path :
         {std::string(), std::string("/usr/bin/gimp"), unusual, longest}) {
        KeyEntryFixture f;
        f.entry = patternedEntry(kAssignMacro);
        const MacroKeyInfo before = f.entry;
        EXPECT_TRUE(f.run(&LaunchProgramDialog::edit, [&](QDialog& d) {
            EXPECT_TRUE(pathBox(d)->text().isEmpty()); // not a launching key
            QTest::keyClicks(pathBox(d), QString::fromStdString(path));
            press(d, "okButton");
        }));
        EXPECT_TRUE(sameBytes(f.entry, launching(before, path))) << path;
    }
}

TEST(LaunchProgramDialog, APathThatDoesNotFitIsRefusedInTheDialog) {
    KeyEntryFixture f;
    f.entry = patternedEntry(kAssignLaunch);
    const MacroKeyInfo before = f.entry;
    // 130 characters, but 260 bytes of UTF-8: one byte too many.
    const QString tooLong(130, QChar(0x00E9));
    const QString fits = tooLong.chopped(1);
    const bool result = f.run(&LaunchProgramDialog::edit, [&](QDialog& d) {
        auto& dialog = static_cast<LaunchProgramDialog&>(d);
        const QImage plain = d.grab().toImage();
        pathBox(d)->setText(tooLong);
        press(d, "okButton");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.result(), 0);
        EXPECT_TRUE(dialog.refusal().contains(QStringLiteral("260")));
        EXPECT_NE(d.grab().toImage(), plain);   // the reason is drawn in the window
        EXPECT_EQ(pathBox(d)->text(), tooLong); // nothing was cut

        pathBox(d)->setText(fits);
        EXPECT_TRUE(dialog.refusal().isEmpty());
        press(d, "closeButton");
    });
    EXPECT_FALSE(result);
    EXPECT_TRUE(sameBytes(f.entry, before));

    // Shortened, the same path is taken.
    EXPECT_TRUE(f.run(&LaunchProgramDialog::edit, [&](QDialog& d) {
        pathBox(d)->setText(fits);
        press(d, "okButton");
    }));
    EXPECT_EQ(fieldText(f.entry.programPath), fits.toStdString());
}

TEST(LaunchProgramDialog, OpensWithTheKeysPathAndBrowseFillsTheBoxAndOnlyOkWrites) {
    const std::string desktop =
        QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString();
    for (const char* cancel : {"cancelButton", "closeButton"}) {
        KeyEntryFixture f;
        f.entry = patternedEntry(kAssignLaunch);
        copyToField(f.entry.programPath, "/old/program");
        const MacroKeyInfo before = f.entry;
        EXPECT_FALSE(f.run(&LaunchProgramDialog::edit, [&](QDialog& d) {
            EXPECT_EQ(pathBox(d)->text(), QStringLiteral("/old/program"));
            f.context.dialogs().files().answerNext([&](const FileRequest& request) {
                EXPECT_EQ(request.mode, FileRequest::Mode::Open);
                EXPECT_EQ(request.filter, QStringLiteral("Programs (*)"));
                EXPECT_TRUE(request.defaultSuffix.isEmpty());
                EXPECT_EQ(request.folder.toStdString(), desktop);
                return std::optional<QString>(QStringLiteral("/usr/local/bin/tool"));
            });
            press(d, "browseButton");
            EXPECT_EQ(pathBox(d)->text(), QStringLiteral("/usr/local/bin/tool"));
            f.context.dialogs().files().answerNext(std::optional<QString>());
            press(d, "browseButton"); // a cancelled file dialog changes nothing
            EXPECT_EQ(pathBox(d)->text(), QStringLiteral("/usr/local/bin/tool"));
            press(d, cancel);
        }));
        EXPECT_TRUE(sameBytes(f.entry, before)) << cancel;
    }
}
