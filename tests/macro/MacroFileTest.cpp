#include "macro/MacroFile.h"
#include "macro/MacroStore.h"
#include "settings/IniFile.h"
#include "tests/TempDir.h"
#include "tests/macro/MacroTestData.h"

#include <gtest/gtest.h>

using namespace vantrel;
using namespace vantrel::test;

namespace {

constexpr KeyEvent kPress{30, kKeyPress, 15};
constexpr KeyEvent kRelease{30, kKeyRelease, 0};

std::string macroFileWith(const MacroRecord& record) {
    return "[Macros]\r\n0=" + IniFile::encodeBlob(&record, sizeof record) + "\r\n";
}

std::vector<std::string> names(const MacroStore& store) {
    std::vector<std::string> out;
    for (int i = 0; i < store.count(); ++i)
        out.push_back(fieldText(store.macroAt(i)->name));
    return out;
}

} // namespace

TEST(MacroFile, ExportWritesOnlyTheOneMacro) {
    TempDir dir;
    const std::string path = dir.file("fire.macro");
    writeFile(path, "[Macros]\nnumber=2\n0=00\n1=00\n[Other]\nkey=value\n");
    MacroRecord record = makeMacro("Fire", {kPress, kRelease}, 12);
    record.events[40] = kPress; // slots past eventCount travel too
    ASSERT_TRUE(MacroFile::exportMacroFile(path, record));
    EXPECT_EQ(readFile(path), macroFileWith(record));

    const std::optional<MacroRecord> back = MacroFile::readMacroFile(path);
    ASSERT_TRUE(back);
    EXPECT_TRUE(sameBytes(*back, record));
}

TEST(MacroFile, ImportTakesTheFirstFreeSuffix) {
    TempDir dir;
    const std::string path = dir.file("fire.macro");
    const MacroRecord record = makeMacro("Fire", {kPress, kRelease}, 12);
    ASSERT_TRUE(MacroFile::exportMacroFile(path, record));

    MacroStore store(dir.folder());
    store.appendMacro(record);
    EXPECT_EQ(MacroFile::importMacroFile(path, store), 1);
    EXPECT_EQ(MacroFile::importMacroFile(path, store), 2);
    EXPECT_EQ(names(store), (std::vector<std::string>{"Fire", "Fire1", "Fire2"}));
    // Everything but the name is the file's.
    MacroRecord renamed = record;
    copyToField(renamed.name, "Fire2");
    EXPECT_TRUE(sameBytes(*store.macroAt(2), renamed));

    // Only the suffixed name taken: the plain name is free.
    MacroStore other(dir.folder());
    other.appendMacro(makeMacro("fire1", {}));
    EXPECT_EQ(MacroFile::importMacroFile(path, other), 1);
    EXPECT_EQ(names(other), (std::vector<std::string>{"fire1", "Fire"}));

    // The name in another case and with blanks is taken; a suffix that is
    // taken too is passed over.
    MacroStore cased(dir.folder());
    cased.appendMacro(makeMacro(" FIRE ", {}));
    cased.appendMacro(makeMacro("FIRE1", {}));
    EXPECT_EQ(MacroFile::importMacroFile(path, cased), 2);
    EXPECT_EQ(fieldText(cased.macroAt(2)->name), "Fire2");
}

TEST(MacroFile, SuffixedNamesStayInsideTheNameField) {
    TempDir dir;
    MacroStore store(dir.folder());
    const std::string full(51, 'n');
    store.appendMacro(makeMacro(full, {}));
    EXPECT_EQ(MacroFile::importedName(full, store), std::string(50, 'n') + "1");

    // A two-byte character at the cut goes whole.
    const std::string accented = std::string(49, 'a') + "\xC3\xA9";
    store.appendMacro(makeMacro(accented, {}));
    EXPECT_EQ(MacroFile::importedName(accented, store), std::string(49, 'a') + "1");

    // Ten and more need two digits of room.
    const std::string base(51, 'b');
    store.appendMacro(makeMacro(base, {}));
    for (int n = 1; n <= 9; ++n)
        store.appendMacro(makeMacro(std::string(50, 'b') + std::to_string(n), {}));
    EXPECT_EQ(MacroFile::importedName(base, store), std::string(49, 'b') + "10");
}

TEST(MacroFile, DamagedFilesAreRefusedAndTheStoreIsUnchanged) {
    TempDir dir;
    const MacroRecord good = makeMacro("Good", {kPress});
    const std::string goodFile = macroFileWith(good);

    MacroRecord unterminated = good;
    std::memset(unterminated.name, 'x', sizeof unterminated.name);
    MacroRecord tooMany = good;
    tooMany.eventCount = 51;
    MacroRecord negative = good;
    negative.eventCount = -1;
    MacroRecord repeats = good;
    repeats.repeatCount = 256;

    std::string badSum = goodFile;
    badSum[20] = badSum[20] == 'F' ? 'E' : 'F';
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"empty", ""},
        {"no key 0", "[Macros]\r\n1=" + goodFile.substr(12)},
        {"other section", "[Macro]\r\n0=" + goodFile.substr(12)},
        {"bad checksum", badSum},
        {"truncated", goodFile.substr(0, goodFile.size() / 2)},
        {"one byte short", "[Macros]\r\n0=" + IniFile::encodeBlob(&good, sizeof good - 1)},
        {"unterminated name", macroFileWith(unterminated)},
        {"51 events", macroFileWith(tooMany)},
        {"negative events", macroFileWith(negative)},
        {"repeat count 256", macroFileWith(repeats)},
    };

    MacroStore store(dir.folder());
    store.appendMacro(good);
    EXPECT_EQ(MacroFile::importMacroFile(dir.file("missing.macro"), store), -1);
    for (const auto& [what, content] : cases) {
        writeFile(dir.file("bad.macro"), content);
        EXPECT_FALSE(MacroFile::readMacroFile(dir.file("bad.macro"))) << what;
        EXPECT_EQ(MacroFile::importMacroFile(dir.file("bad.macro"), store), -1) << what;
    }
    ASSERT_EQ(store.count(), 1);
    EXPECT_TRUE(sameBytes(*store.macroAt(0), good));

    // The same file, undamaged, is taken.
    writeFile(dir.file("bad.macro"), goodFile);
    EXPECT_EQ(MacroFile::importMacroFile(dir.file("bad.macro"), store), 1);
}
