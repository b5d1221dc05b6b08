#include "macro/MacroManagerDialog.h"
#include "macro/MacroFile.h"
#include "macro/MacroListBox.h"
#include "macro/MacroStore.h"
#include "settings/IniFile.h"
#include "settings/TextField.h"
#include "skin/AppContext.h"
#include "skin/BitmapEdit.h"
#include "skin/ConfirmationDialog.h"
#include "skin/SkinButton.h"
#include "tests/KeyEntryFixture.h"
#include "tests/TempProgramFolder.h"
#include "tests/UiWait.h"
#include "tests/macro/FakeClock.h"
#include "tests/macro/MacroTestData.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

using namespace vantrel;
using namespace vantrel::test;
using List = MacroEventList;

namespace {

constexpr quint32 kVirtualKeyA = 0x41;
constexpr quint32 kVirtualKeyB = 0x42;
constexpr quint32 kRelease = KeyCapture::kReleaseFlag;
constexpr uint8_t kA = 4;
constexpr uint8_t kB = 5;

MacroListBox* listOf(QDialog& d, const char* role) {
    return d.findChild<MacroListBox*>(QString::fromLatin1(role));
}

using Rows = std::vector<std::string>;

Rows rowsOf(const MacroListBox* list) {
    Rows rows;
    for (int i = 0; i < list->count(); ++i)
        rows.push_back(list->item(i)->text().toStdString());
    return rows;
}

std::string skinOf(QDialog& d) {
    return std::filesystem::path(static_cast<SkinnedDialog&>(d).description().path())
        .filename()
        .string();
}

struct ManagerFixture {
    TempProgramFolder folder;
    AppContext context{folder.folder(), std::nullopt};
    FakeClock clock;
    // The skins of the warnings and confirmations asked, in order.
    std::vector<std::string> asked;

    void store(std::initializer_list<MacroRecord> macros) {
        for (const MacroRecord& macro : macros)
            context.macroStore().appendMacro(macro);
        context.macroStore().saveMacroStore();
    }
    // Runs the manager as its callers do; act works on the shown dialog.
    bool run(const std::function<void(MacroManagerDialog&)>& act) {
        context.dialogs().answerNext([&act](QDialog& dialog) {
            dialog.show();
            act(static_cast<MacroManagerDialog&>(dialog));
            handlePosted();
            return dialog.result();
        });
        return MacroManagerDialog::manage(context, nullptr, clock);
    }
    // The next confirmation dialog is answered, and its skin noted.
    void answerConfirmation(int result) {
        context.dialogs().answerNext([this, result](QDialog& d) {
            asked.push_back(skinOf(d));
            return result;
        });
    }
    // Picks a command of the event list's context menu.
    void command(MacroManagerDialog& d, int command) {
        context.menus().answerNext(command);
        QTest::mouseClick(listOf(d, "eventList")->viewport(), Qt::RightButton);
        handlePosted();
    }
    void selectEvent(MacroManagerDialog& d, int row) { listOf(d, "eventList")->setCurrentRow(row); }
    void type(quint32 virtualKey, quint32 flags) {
        emit context.keyCapture().keyReported(virtualKey, flags);
        handlePosted();
    }
    const MacroRecord& macro(int index) { return *context.macroStore().macroAt(index); }
};

// Types name into the new-row editor and lets it go with Enter.
void addMacro(MacroManagerDialog& d, const QString& name) {
    press(d, "newButton");
    BitmapEdit* editor = listOf(d, "macroList")->editor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, name);
    QTest::keyClick(editor, Qt::Key_Return);
    handlePosted();
}

} // namespace

TEST(MacroManager, OpensOnTheSelectedKeysMacroNotOnOneItPrefixes) {
    ManagerFixture f;
    f.store({makeMacro("Bx", {{kA, kKeyPress, 0}}), makeMacro("B", {{kB, kKeyPress, 5}}),
             makeMacro("Other", {})});
    f.context.keyEntryScratch() = macroKey("B", {{kB, kKeyPress, 5}});
    f.run([](MacroManagerDialog& d) {
        EXPECT_EQ(rowsOf(listOf(d, "macroList")), (Rows{"Bx", "B", "Other"}));
        EXPECT_EQ(d.currentIndex(), 1);
        EXPECT_EQ(listOf(d, "macroList")->selectedRow(), 1);
        EXPECT_EQ(rowsOf(listOf(d, "eventList")), (Rows{"B", "5 ms"}));
        d.reject();
    });
    // A key without a macro opens on the first row.
    f.context.keyEntryScratch() = patternedEntry(kAssignStandard);
    f.run([](MacroManagerDialog& d) {
        EXPECT_EQ(d.currentIndex(), 0);
        d.reject();
    });
}

TEST(MacroManager, WithoutAMacroRecordAndEveryCommandOnlyWarn) {
    ManagerFixture f;
    f.run([&](MacroManagerDialog& d) {
        EXPECT_EQ(d.currentIndex(), -1);
        // The shortcut dialog's line, where keys of other windows cannot be captured.
        EXPECT_EQ(d.captureNotice(), KeyCapture::notice(QGuiApplication::platformName()));
        EXPECT_NE(KeyCapture::notice(QStringLiteral("wayland-egl")), QString());
        EXPECT_EQ(listOf(d, "macroList")->count(), 0);
        EXPECT_EQ(listOf(d, "eventList")->count(), 0);
        f.answerConfirmation(QDialog::Accepted);
        press(d, "recordButton");
        f.answerConfirmation(QDialog::Accepted);
        f.command(d, List::FirstMouseCommand);
        EXPECT_FALSE(d.recording());
        // Nothing to export: no file dialog is asked.
        press(d, "exportButton");
        EXPECT_FALSE(f.context.dialogs().files().hasPendingAnswers());
        d.reject();
    });
    EXPECT_EQ(f.asked,
              (std::vector<std::string>(2, std::string(ConfirmationDialog::kMacroSetWarning))));
    EXPECT_EQ(f.context.macroStore().count(), 0);
}

TEST(MacroManager, NewNamesAreTrimmedAndADuplicateInOtherCaseIsDropped) {
    ManagerFixture f;
    f.store({makeMacro("Combo", {{kA, kKeyPress, 0}})});
    f.run([&](MacroManagerDialog& d) {
        addMacro(d, QStringLiteral("cOMBO"));
        EXPECT_EQ(rowsOf(listOf(d, "macroList")), Rows{"Combo"});
        EXPECT_EQ(d.currentIndex(), 0);
        addMacro(d, QStringLiteral("Second"));
        EXPECT_EQ(rowsOf(listOf(d, "macroList")), (Rows{"Combo", "Second"}));
        EXPECT_EQ(d.currentIndex(), 1);
        EXPECT_EQ(listOf(d, "eventList")->count(), 0);
        // Escape takes the new row away, and an empty name makes nothing.
        press(d, "newButton");
        QTest::keyClicks(listOf(d, "macroList")->editor(), QStringLiteral("Gone"));
        QTest::keyClick(listOf(d, "macroList")->editor(), Qt::Key_Escape);
        addMacro(d, QString());
        handlePosted();
        EXPECT_EQ(listOf(d, "macroList")->count(), 2);
        press(d, "okButton");
    });
    ASSERT_EQ(f.context.macroStore().count(), 2);
    EXPECT_EQ(fieldText(f.macro(1).name), "Second");
    EXPECT_EQ(f.macro(1).eventCount, 0);
}

TEST(MacroManager, CancelTakesTheRecordingBackAndOkGivesItToTheKeys) {
    for (const bool ok : {false, true}) {
        ManagerFixture f;
        f.store({makeMacro("Combo", {{kA, kKeyPress, 0}})});
        MacroKeyInfo& key = f.context.editedSettings().profiles[2].MacroKeyInfo[7];
        key = macroKey("Combo", {{kA, kKeyPress, 0}});
        f.context.editedSettings().keyChanged[2][7] = 0;
        EXPECT_EQ(ok, f.run([&](MacroManagerDialog& d) {
            press(d, "recordDelaysButton");
            press(d, "recordButton");
            ASSERT_TRUE(d.recording());
            for (const char* role :
                 {"okButton", "cancelButton", "exitButton", "newButton", "deleteButton"})
                EXPECT_FALSE(d.findChild<SkinButton*>(QString::fromLatin1(role))->isEnabled());
            EXPECT_FALSE(listOf(d, "macroList")->isEnabled());
            f.type(kVirtualKeyA, 0);
            f.clock.now += 300;
            f.type(kVirtualKeyA, kRelease);
            f.type(kVirtualKeyB, 0);
            EXPECT_EQ(rowsOf(listOf(d, "eventList")), (Rows{"A", "300 ms", "A", "B"}));
            press(d, "recordButton");
            EXPECT_FALSE(d.recording());
            press(d, ok ? "okButton" : "cancelButton");
        }));
        const MacroRecord recorded =
            makeMacro("Combo", {{kA, kKeyPress, 300}, {kA, kKeyRelease, 0}, {kB, kKeyPress, 0}}, 1);
        const MacroRecord& stored = f.macro(0);
        EXPECT_EQ(stored.eventCount, ok ? 3 : 1);
        EXPECT_EQ(key.eventCount, ok ? 3 : 1);
        EXPECT_EQ(std::memcmp(key.events, ok ? recorded.events : stored.events, 12), 0);
        EXPECT_EQ(f.context.editedSettings().keyChanged[2][7], ok ? 1 : 0);
        MacroStore reread(f.context.programFolder());
        reread.loadMacroStore();
        EXPECT_EQ(reread.macroAt(0)->eventCount, ok ? 3 : 1);
    }
}

TEST(MacroManager, TheRepeatCountStaysWithinOneTo255AndIsOneWithRepeatOff) {
    struct Case {
        const char* typed;
        const char* shown;
        bool repeat;
        int32_t stored;
    };
    const Case cases[] = {
        {"300", "255", true, 255}, {"0", "1", true, 1}, {"7", "7", true, 7}, {"7", "7", false, 1}};
    for (const Case& c : cases) {
        ManagerFixture f;
        f.store({makeMacro("M", {}, 0), makeMacro("N", {}, 0)});
        f.run([&](MacroManagerDialog& d) {
            // A new macro's count 0 reads as repeat off, count 1.
            EXPECT_FALSE(d.findChild<SkinButton*>(QStringLiteral("repeatButton"))->isChecked());
            BitmapEdit* box = d.findChild<BitmapEdit*>(QStringLiteral("repeatCountBox"));
            EXPECT_EQ(box->text(), QStringLiteral("1"));
            if (c.repeat)
                press(d, "repeatButton");
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, QString::fromLatin1(c.typed));
            listOf(d, "eventList")->setFocus();
            handlePosted();
            EXPECT_EQ(box->text(), QString::fromLatin1(c.shown)) << c.typed;
            listOf(d, "macroList")->setCurrentRow(1);
            press(d, "okButton");
        });
        EXPECT_EQ(f.macro(0).repeatCount, c.stored) << c.typed << " repeat " << c.repeat;
        // Shown after it, N is stored by the same rule whatever the box said before.
        EXPECT_EQ(f.macro(1).repeatCount, 1) << c.typed;
    }
}

TEST(MacroManager, DeletingTheLastMacroSelectsTheNewLastRow) {
    ManagerFixture f;
    f.store({makeMacro("One", {}), makeMacro("Two", {}), makeMacro("Three", {{kA, kKeyPress, 0}})});
    f.run([&](MacroManagerDialog& d) {
        MacroListBox* macros = listOf(d, "macroList");
        macros->setCurrentRow(2);
        EXPECT_EQ(d.currentIndex(), 2);
        f.answerConfirmation(QDialog::Rejected);
        press(d, "deleteButton");
        EXPECT_EQ(macros->count(), 3);
        f.answerConfirmation(QDialog::Accepted);
        press(d, "deleteButton");
        EXPECT_EQ(rowsOf(macros), (Rows{"One", "Two"}));
        EXPECT_EQ(d.currentIndex(), 1);
        EXPECT_EQ(macros->selectedRow(), 1);
        EXPECT_EQ(listOf(d, "eventList")->count(), 0);
        press(d, "okButton");
    });
    EXPECT_EQ(f.asked,
              (std::vector<std::string>(2, std::string(ConfirmationDialog::kDeleteMacroWarning))));
    EXPECT_EQ(f.context.macroStore().count(), 2);
}

TEST(MacroManager, PauseEditsAreClampedAndTypedDigitsStayUntilTheNextRebuild) {
    struct Case {
        const char* typed;
        uint16_t stored;
        const char* row;
    };
    const Case cases[] = {{"0", 1, "1 ms"},
                          {"99999", 65535, "65535 ms"},
                          {"250", 250, "250 ms"},
                          {"", 120, "120 ms"}};
    for (const Case& c : cases) {
        ManagerFixture f;
        f.store({makeMacro("P", {{kA, kKeyPress, 120}, {kA, kKeyRelease, 0}})});
        f.run([&](MacroManagerDialog& d) {
            MacroListBox* events = listOf(d, "eventList");
            f.selectEvent(d, 1);
            f.command(d, List::Edit);
            ASSERT_NE(events->editor(), nullptr);
            EXPECT_EQ(events->editor()->maxLength(), MacroListBox::kPauseLength);
            QTest::keyClicks(events->editor(), QString::fromLatin1(c.typed));
            QTest::keyClick(events->editor(), Qt::Key_Return);
            handlePosted();
            EXPECT_EQ(events->editor(), nullptr);
            EXPECT_EQ(rowsOf(events), (Rows{"A", c.row, "A"}));
            EXPECT_EQ(events->itemData(1), List::itemData(0, List::kPauseRow));
            press(d, "okButton");
        });
        EXPECT_EQ(f.macro(0).events[0].delayMs, c.stored) << c.typed;
    }
}

TEST(MacroManager, EscapeInThePauseEditorHidesThePauseButKeepsIt) {
    ManagerFixture f;
    f.store({makeMacro("P", {{kA, kKeyPress, 120}, {kA, kKeyRelease, 0}})});
    f.run([&](MacroManagerDialog& d) {
        MacroListBox* events = listOf(d, "eventList");
        f.selectEvent(d, 1);
        f.command(d, List::Edit);
        // The release of the Enter that chose the menu entry keeps the editor open.
        QTest::keyRelease(events->editor(), Qt::Key_Return);
        handlePosted();
        ASSERT_NE(events->editor(), nullptr);
        QTest::keyClicks(events->editor(), QStringLiteral("9"));
        QTest::keyClick(events->editor(), Qt::Key_Escape);
        handlePosted();
        EXPECT_EQ(rowsOf(events), (Rows{"A", "A"}));
        // Edit on a key row opens nothing.
        f.selectEvent(d, 0);
        f.command(d, List::Edit);
        EXPECT_EQ(events->editor(), nullptr);
        press(d, "okButton");
    });
    EXPECT_EQ(f.macro(0).events[0].delayMs, 120);
}

TEST(MacroManager, InsertDelayAndDeleteWorkOnTheSelectedRow) {
    ManagerFixture f;
    f.store({makeMacro(
        "E",
        {{kA, kKeyPress, 0}, {kA, kKeyRelease, 0}, {kB, kKeyPress, 40}, {kB, kKeyRelease, 0}})});
    f.run([&](MacroManagerDialog& d) {
        MacroListBox* events = listOf(d, "eventList");
        f.selectEvent(d, 0);
        f.command(d, List::InsertDelay);
        EXPECT_EQ(events->count(), 5);
        f.selectEvent(d, 2);
        f.command(d, List::InsertDelay);
        EXPECT_EQ(rowsOf(events), (Rows{"A", "A", "1 ms", "B", "40 ms", "B"}));
        EXPECT_EQ(f.macro(0).events[1].delayMs, 1);
        f.selectEvent(d, 4);
        f.command(d, List::Delete);
        EXPECT_EQ(rowsOf(events), (Rows{"A", "A", "1 ms", "B", "B"}));
        f.selectEvent(d, 1);
        f.command(d, List::Delete);
        EXPECT_EQ(rowsOf(events), (Rows{"A", "B", "B"}));
        press(d, "okButton");
    });
    // Slots past the count are not looked at.
    const MacroRecord left =
        makeMacro("E", {{kA, kKeyPress, 0}, {kB, kKeyPress, 0}, {kB, kKeyRelease, 0}});
    EXPECT_EQ(f.macro(0).eventCount, 3);
    EXPECT_EQ(std::memcmp(f.macro(0).events, left.events, 3 * sizeof(KeyEvent)), 0);
}

TEST(MacroManager, AClickNeedsTwoFreePlacesAndAPressFillsTheMacro) {
    ManagerFixture f;
    MacroRecord full = makeMacro("Full", {});
    for (int i = 0; i < 49; ++i)
        full.events[full.eventCount++] = {kA, kKeyPress, 0};
    f.store({full});
    f.run([&](MacroManagerDialog& d) {
        f.command(d, List::FirstMouseCommand + 2); // left click
        EXPECT_EQ(d.working().eventCount, 49);
        f.selectEvent(d, 0);
        f.command(d, List::FirstMouseCommand); // left press, before the first event
        EXPECT_EQ(d.working().eventCount, 50);
        EXPECT_EQ(listOf(d, "eventList")->item(0)->text(), QStringLiteral("L Button Down"));
        f.command(d, List::FirstMouseCommand + 1);
        EXPECT_EQ(d.working().eventCount, 50);
        press(d, "okButton");
    });
    EXPECT_EQ(f.macro(0).eventCount, 50);
    EXPECT_EQ(f.macro(0).events[0].keyCode, 240);
    EXPECT_EQ(f.macro(0).events[1].keyCode, kA);
}

TEST(MacroManager, ExportedMacrosComeBackWithTheFirstFreeNumber) {
    ManagerFixture f;
    const MacroRecord combo = makeMacro("name", {{kA, kKeyPress, 3}}, 4);
    f.store({combo, makeMacro("Other", {})});
    const QString file = QString::fromStdString(f.folder.file("name.macro"));
    std::vector<FileRequest> requests;
    const auto answer = [&](std::optional<QString> path) {
        f.context.dialogs().files().answerNext([&requests, path](const FileRequest& r) {
            requests.push_back(r);
            return path;
        });
    };
    f.run([&](MacroManagerDialog& d) {
        answer(file);
        press(d, "exportButton");
        for (int i = 0; i < 2; ++i) {
            answer(file);
            press(d, "importButton");
        }
        EXPECT_EQ(rowsOf(listOf(d, "macroList")), (Rows{"name", "Other", "name1", "name2"}));
        EXPECT_EQ(d.currentIndex(), 3);
        EXPECT_EQ(rowsOf(listOf(d, "eventList")), (Rows{"A", "3 ms"}));
        // A cancelled dialog, and a file that is not a macro file, add nothing.
        answer(std::nullopt);
        press(d, "importButton");
        IniFile foreign(f.folder.file("foreign.macro"));
        foreign.writeText("Macros", "0", "00FF");
        foreign.save();
        answer(QString::fromStdString(f.folder.file("foreign.macro")));
        bool warned = false;
        f.context.dialogs().answerNext([&warned](QDialog& box) {
            warned = qobject_cast<QMessageBox*>(&box) != nullptr;
            return 0;
        });
        press(d, "importButton");
        EXPECT_TRUE(warned);
        EXPECT_EQ(listOf(d, "macroList")->count(), 4);
        press(d, "okButton");
    });
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_EQ(requests[0].mode, FileRequest::Mode::Save);
    EXPECT_EQ(requests[0].filter, QStringLiteral("Macro(*.macro)"));
    EXPECT_EQ(requests[1].mode, FileRequest::Mode::Open);
    EXPECT_EQ(requests[1].initialName, QStringLiteral(".macro"));
    EXPECT_EQ(requests[1].folder, QString::fromStdString(f.context.configFolder() + "config"));
    ASSERT_EQ(f.context.macroStore().count(), 4);
    MacroRecord second = combo;
    copyToField(second.name, "name2");
    EXPECT_TRUE(sameBytes(f.macro(3), second));

    // A store that holds only "name1" keeps the plain name.
    ManagerFixture g;
    g.store({makeMacro("name1", {})});
    g.context.dialogs().files().answerNext(file);
    g.run([&](MacroManagerDialog& d) {
        press(d, "importButton");
        EXPECT_EQ(rowsOf(listOf(d, "macroList")), (Rows{"name1", "name"}));
        press(d, "okButton");
    });
}

TEST(MacroManager, ARowBeingNamedGoesBeforeAnImportOrDeleteSoRowsStayWithTheirMacros) {
    ManagerFixture f;
    f.store({makeMacro("One", {}), makeMacro("Two", {})});
    const std::string file = f.folder.file("in.macro");
    ASSERT_TRUE(MacroFile::exportMacroFile(file, makeMacro("In", {{kA, kKeyPress, 0}})));
    f.run([&](MacroManagerDialog& d) {
        MacroListBox* macros = listOf(d, "macroList");
        press(d, "newButton");
        QTest::keyClicks(macros->editor(), QStringLiteral("Half"));
        f.context.dialogs().files().answerNext(QString::fromStdString(file));
        press(d, "importButton");
        EXPECT_EQ(rowsOf(macros), (Rows{"One", "Two", "In"}));
        EXPECT_EQ(d.currentIndex(), 2);
        press(d, "newButton");
        macros->setCurrentRow(0);
        f.answerConfirmation(QDialog::Accepted);
        press(d, "deleteButton");
        handlePosted();
        EXPECT_EQ(rowsOf(macros), (Rows{"Two", "In"}));
        press(d, "okButton");
    });
    ASSERT_EQ(f.context.macroStore().count(), 2);
    EXPECT_EQ(fieldText(f.macro(0).name), "Two");
    EXPECT_EQ(fieldText(f.macro(1).name), "In");
}
