#include "macro/MacroStore.h"
#include "settings/IniFile.h"
#include "tests/TempDir.h"
#include "tests/macro/MacroTestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

using namespace vantrel;
using namespace vantrel::test;

namespace {

constexpr KeyEvent kAPress{4, kKeyPress, 0};
constexpr KeyEvent kARelease{4, kKeyRelease, 120};
constexpr KeyEvent kBPress{5, kKeyPress, 0};

std::string storeFile(const TempDir& dir) {
    return dir.file("config/sequence.dat");
}

std::string recordLine(int index, const MacroRecord& record) {
    return std::to_string(index) + "=" + IniFile::encodeBlob(&record, sizeof record) + "\r\n";
}

std::unique_ptr<SharedBlock> emptySettings() {
    auto settings = std::make_unique<SharedBlock>();
    std::memset(settings.get(), 0, sizeof(SharedBlock));
    return settings;
}

int changedKeys(const SharedBlock& settings) {
    int n = 0;
    for (const auto& profile : settings.keyChanged)
        for (const int32_t flag : profile)
            n += flag != 0;
    return n;
}

} // namespace

TEST(MacroStore, EmptyMissingAndZeroCountFilesLoadEmpty) {
    TempDir dir;
    MacroStore store(dir.folder());
    EXPECT_EQ(store.filePath(), dir.folder() + "config/sequence.dat");
    store.loadMacroStore();
    EXPECT_EQ(store.count(), 0);
    EXPECT_EQ(store.macroAt(0), nullptr);
    EXPECT_EQ(store.macroAt(-1), nullptr);

    for (const char* content : {"", "[Other]\r\nnumber=3\r\n", "[Macros]\r\nnumber=0\r\n",
                                "[Macros]\r\nnumber=-4\r\n0=00\r\n"}) {
        writeFile(storeFile(dir), content);
        store.loadMacroStore();
        EXPECT_EQ(store.count(), 0) << content;
    }

    // An empty store writes its count and nothing else, replacing whatever was there.
    writeFile(storeFile(dir), "[Macros]\r\nnumber=1\r\n0=junk\r\n[Stale]\r\nx=1\r\n");
    ASSERT_TRUE(store.saveMacroStore());
    EXPECT_EQ(readFile(storeFile(dir)), "[Macros]\r\nnumber=0\r\n");
}

TEST(MacroStore, SaveRenumbersAfterDeletingTheMiddleMacro) {
    TempDir dir;
    MacroStore store(dir.folder());
    const MacroRecord a = makeMacro("Alpha", {kAPress, kARelease}, 3);
    const MacroRecord b = makeMacro("Bravo", {kBPress});
    const MacroRecord c = makeMacro("Charlie", {}, 255);
    store.appendMacro(a);
    store.appendMacro(b);
    EXPECT_EQ(store.appendMacro(c), 2);
    ASSERT_TRUE(store.saveMacroStore());
    EXPECT_EQ(readFile(storeFile(dir)),
              "[Macros]\r\nnumber=3\r\n" + recordLine(0, a) + recordLine(1, b) + recordLine(2, c));

    EXPECT_FALSE(store.removeMacro(3));
    ASSERT_TRUE(store.removeMacro(1));
    ASSERT_TRUE(store.saveMacroStore());
    EXPECT_EQ(readFile(storeFile(dir)),
              "[Macros]\r\nnumber=2\r\n" + recordLine(0, a) + recordLine(1, c));
    // Nothing but the new file is left in the folder (no scratch files).
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(dir.file("config")))
        ++files;
    EXPECT_EQ(files, 2); // sequence.dat and its lock file

    MacroStore reloaded(dir.folder());
    reloaded.loadMacroStore();
    ASSERT_EQ(reloaded.count(), 2);
    EXPECT_TRUE(sameBytes(*reloaded.macroAt(0), a));
    EXPECT_TRUE(sameBytes(*reloaded.macroAt(1), c));
    // Loading appends; callers clear before a reload.
    reloaded.loadMacroStore();
    EXPECT_EQ(reloaded.count(), 4);
    reloaded.clearMacroStore();
    EXPECT_EQ(reloaded.count(), 0);
}

TEST(MacroStore, AFailedSaveReportsItAndLeavesNoScratchFile) {
    TempDir dir;
    std::filesystem::create_directories(storeFile(dir) + "/in-the-way");
    MacroStore store(dir.folder());
    store.appendMacro(makeMacro("Alpha", {kAPress}));
    EXPECT_FALSE(store.saveMacroStore());
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("config"))) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(name == "sequence.dat" || name == "sequence.dat.lock") << name;
    }
}

TEST(MacroStore, DamagedRecordsAreSkippedAndUnsafeOnesRepaired) {
    TempDir dir;
    const MacroRecord good = makeMacro("Good", {kAPress, kARelease});
    std::string badSum = recordLine(1, good);
    badSum[10] = badSum[10] == '0' ? '1' : '0';

    // Readable, but with an unterminated name ending in a two-byte character
    // that straddles the cut, and counts out of range.
    MacroRecord unsafe = makeMacro("", {kBPress});
    std::memset(unsafe.name, 'n', sizeof unsafe.name);
    unsafe.name[50] = '\xC3';
    unsafe.name[51] = '\xA9';
    unsafe.eventCount = 99;
    unsafe.repeatCount = -7;
    MacroRecord negative = makeMacro("Negative", {});
    negative.eventCount = -3;
    negative.repeatCount = 1000;

    const std::string line3 = recordLine(3, good);
    writeFile(storeFile(dir), "[Macros]\r\nnumber=7\r\n" + recordLine(0, good) + badSum +
                                  recordLine(2, unsafe) + recordLine(5, negative) +
                                  line3.substr(0, line3.size() / 2) + "\r\n");
    MacroStore store(dir.folder());
    store.loadMacroStore();
    // 1: bad checksum, 3: truncated, 4 and 6: missing.
    ASSERT_EQ(store.count(), 3);
    EXPECT_TRUE(sameBytes(*store.macroAt(0), good));
    const MacroRecord& repaired = *store.macroAt(1);
    EXPECT_EQ(fieldText(repaired.name), std::string(50, 'n'));
    EXPECT_EQ(repaired.eventCount, 50);
    EXPECT_EQ(repaired.repeatCount, 0);
    EXPECT_EQ(repaired.events[0].keyCode, kBPress.keyCode);
    EXPECT_EQ(store.macroAt(2)->eventCount, 0);
    EXPECT_EQ(store.macroAt(2)->repeatCount, 255);
}

TEST(MacroStore, ACountLargerThanTheFileLoadsWhatIsThere) {
    TempDir dir;
    const MacroRecord good = makeMacro("Good", {kAPress});
    writeFile(storeFile(dir),
              "[Macros]\r\nnumber=2147483647\r\n" + recordLine(0, good) + recordLine(1, good));
    MacroStore store(dir.folder());
    store.loadMacroStore(); // without a bound this looks up two billion absent keys
    EXPECT_EQ(store.count(), 2);
}

TEST(MacroStore, NamesMatchWithoutBlanksOrLetterCase) {
    TempDir dir;
    MacroStore store(dir.folder());
    store.appendMacro(makeMacro("  Hello\t", {kAPress, kARelease}));
    store.appendMacro(makeMacro("ÄRGER", {kBPress}));
    store.appendMacro(makeMacro("hello", {kBPress})); // a second of the same name

    EXPECT_TRUE(store.macroNameExists("HELLO"));
    EXPECT_TRUE(store.macroNameExists(" hello "));
    EXPECT_TRUE(store.macroNameExists("ärger"));
    EXPECT_FALSE(store.macroNameExists("hell"));
    EXPECT_FALSE(store.macroNameExists("helloo"));
    EXPECT_FALSE(store.macroNameExists(""));

    // The first macro of the name decides, and "same" needs equal events.
    MacroStore::Match match = store.findMacroForKey(macroKey("HELLO ", {kAPress, kARelease}));
    EXPECT_EQ(match.index, 0);
    EXPECT_TRUE(match.same);
    match = store.findMacroForKey(macroKey("hello", {kAPress}));
    EXPECT_EQ(match.index, 0);
    EXPECT_FALSE(match.same);
    match = store.findMacroForKey(macroKey("hello", {kAPress, kBPress}));
    EXPECT_FALSE(match.same);
    match = store.findMacroForKey(macroKey("ärger", {kBPress}));
    EXPECT_EQ(match.index, 1);
    EXPECT_TRUE(match.same);
    match = store.findMacroForKey(macroKey("Unknown", {}));
    EXPECT_EQ(match.index, -1);
    EXPECT_FALSE(match.same);
}

TEST(MacroStore, MergeTakesUnknownMacrosFromEveryKeyAndRewritesTheFile) {
    TempDir dir;
    const MacroRecord known = makeMacro("Known", {kAPress, kARelease}, 7);
    writeFile(storeFile(dir), "[Macros]\r\nnumber=1\r\n" + recordLine(0, known));
    MacroStore store(dir.folder());
    store.loadMacroStore();

    auto settings = emptySettings();
    ProfileRecord& profile = settings->profiles[2];
    profile.MacroKeyInfo[3] = macroKey("Boom", {kBPress, kAPress});
    profile.MacroKeyInfo[3].repeatCount = 9;
    profile.MacroKeyInfo[100] = macroKey("Far", {kAPress}); // beyond the first ten keys
    settings->profiles[4].MacroKeyInfo[7] = macroKey("BOOM", {kBPress, kAPress}); // same again
    MacroKeyInfo notMacro = macroKey("Shortcut", {kAPress});
    notMacro.assignType = kAssignShortcut;
    settings->profiles[1].MacroKeyInfo[5] = notMacro;

    store.mergeProfileMacros(*settings);
    ASSERT_EQ(store.count(), 3);
    EXPECT_TRUE(sameBytes(*store.macroAt(0), known));
    EXPECT_TRUE(sameBytes(*store.macroAt(1), makeMacro("Boom", {kBPress, kAPress}, 0)));
    EXPECT_TRUE(sameBytes(*store.macroAt(2), makeMacro("Far", {kAPress}, 0)));
    EXPECT_EQ(changedKeys(*settings), 0);

    ASSERT_TRUE(store.saveMacroStore());
    EXPECT_EQ(readFile(storeFile(dir)), "[Macros]\r\nnumber=3\r\n" + recordLine(0, known) +
                                            recordLine(1, *store.macroAt(1)) +
                                            recordLine(2, *store.macroAt(2)));
}

TEST(MacroStore, MergeGivesAKnownMacroTheKeysEventsOnly) {
    TempDir dir;
    MacroStore store(dir.folder());
    MacroRecord known = makeMacro("Known", {kAPress, kARelease}, 7);
    known.events[5] = kBPress; // stale slot past eventCount
    store.appendMacro(known);

    auto settings = emptySettings();
    MacroKeyInfo key = macroKey("known", {kBPress});
    key.repeatCount = 200;
    settings->profiles[1].MacroKeyInfo[127] = key;
    store.mergeProfileMacros(*settings);

    ASSERT_EQ(store.count(), 1);
    const MacroRecord& merged = *store.macroAt(0);
    EXPECT_EQ(fieldText(merged.name), "Known");
    EXPECT_EQ(merged.repeatCount, 7);
    EXPECT_EQ(merged.eventCount, 1);
    EXPECT_EQ(std::memcmp(merged.events, key.events, sizeof key.events), 0); // all 50 slots

    // A key whose copy is the same changes nothing.
    const MacroRecord before = merged;
    store.mergeProfileMacros(*settings);
    EXPECT_TRUE(sameBytes(*store.macroAt(0), before));
}

TEST(MacroStore, MergeOfDamagedKeysIsBoundedAndHappensOnce) {
    TempDir dir;
    MacroStore store(dir.folder());
    auto settings = emptySettings();
    MacroKeyInfo key = macroKey("", {kAPress});
    std::memset(key.macroName, 'k', sizeof key.macroName); // unterminated
    key.eventCount = 900;
    settings->profiles[0].MacroKeyInfo[9] = key;

    store.mergeProfileMacros(*settings);
    ASSERT_EQ(store.count(), 1);
    EXPECT_EQ(fieldText(store.macroAt(0)->name), std::string(19, 'k'));
    EXPECT_EQ(store.macroAt(0)->eventCount, 50);
    store.mergeProfileMacros(*settings);
    EXPECT_EQ(store.count(), 1);
}

TEST(MacroStore, BlankNamesAreMergedAndRefreshedLikeOthers) {
    TempDir dir;
    MacroStore store(dir.folder());
    store.appendMacro(makeMacro("Kept", {kBPress}, 5));
    auto settings = emptySettings();
    settings->profiles[0].MacroKeyInfo[2] = macroKey("", {kAPress, kARelease});
    settings->profiles[1].MacroKeyInfo[3] = macroKey(" \t ", {kAPress, kARelease});
    store.mergeProfileMacros(*settings);
    // Both keys go by the blank name: the first adds it, the second finds it.
    ASSERT_EQ(store.count(), 2);
    EXPECT_TRUE(sameBytes(*store.macroAt(1), makeMacro("", {kAPress, kARelease}, 0)));

    // Refreshed from a store without a blank name, the blank key loses its
    // macro; the empty one is left as it is.
    MacroStore fresh(dir.folder());
    fresh.appendMacro(makeMacro("Kept", {kBPress}, 5));
    const MacroKeyInfo empty = settings->profiles[0].MacroKeyInfo[2];
    fresh.refreshMacroKeys(*settings);
    const MacroKeyInfo& blank = settings->profiles[1].MacroKeyInfo[3];
    EXPECT_EQ(blank.assignType, kAssignStandard);
    EXPECT_EQ(fieldText(blank.macroName), "");
    EXPECT_EQ(blank.eventCount + blank.repeatCount + blank.events[0].keyCode, 0);
    EXPECT_EQ(settings->keyChanged[1][3], 1);
    EXPECT_EQ(std::memcmp(&settings->profiles[0].MacroKeyInfo[2], &empty, sizeof empty), 0);
    EXPECT_EQ(changedKeys(*settings), 1);
}

TEST(MacroStore, RefreshAfterAnEditAndAfterADelete) {
    TempDir dir;
    MacroStore store(dir.folder());
    store.appendMacro(makeMacro("Edited", {kAPress, kARelease}, 2));
    store.appendMacro(makeMacro("Deleted", {kBPress}, 3));

    auto settings = emptySettings();
    MacroKeyInfo edited = macroKey(" EDITED", {kAPress});
    edited.keyIndex = 17;
    std::strcpy(edited.programPath, "/usr/bin/true");
    settings->profiles[0].MacroKeyInfo[17] = edited;
    settings->profiles[3].MacroKeyInfo[120] = macroKey("Deleted", {kBPress});
    settings->profiles[2].MacroKeyInfo[4] = macroKey("", {kAPress}); // no name: left alone
    MacroKeyInfo standard = macroKey("Edited", {});
    standard.assignType = kAssignStandard;
    settings->profiles[2].MacroKeyInfo[5] = standard;

    // The manager edits one macro and deletes the other, then OK.
    MacroRecord& macro = *store.macroAt(0);
    macro.events[2] = kBPress;
    macro.eventCount = 3;
    macro.repeatCount = 40;
    ASSERT_TRUE(store.removeMacro(1));
    const auto before = std::make_unique<SharedBlock>(*settings);
    store.refreshMacroKeys(*settings);

    const MacroKeyInfo& refreshed = settings->profiles[0].MacroKeyInfo[17];
    EXPECT_EQ(refreshed.assignType, kAssignMacro);
    EXPECT_EQ(fieldText(refreshed.macroName), "Edited");
    EXPECT_EQ(refreshed.eventCount, 3);
    EXPECT_EQ(refreshed.repeatCount, 40);
    EXPECT_EQ(std::memcmp(refreshed.events, macro.events, sizeof macro.events), 0);
    EXPECT_EQ(refreshed.keyIndex, 17);
    EXPECT_STREQ(refreshed.programPath, "/usr/bin/true");
    EXPECT_EQ(settings->keyChanged[0][17], 1);

    MacroKeyInfo dropped = before->profiles[3].MacroKeyInfo[120];
    dropped.assignType = kAssignStandard;
    std::memset(dropped.macroName, 0, sizeof dropped.macroName);
    dropped.eventCount = 0;
    dropped.repeatCount = 0;
    std::memset(dropped.events, 0, sizeof dropped.events);
    EXPECT_EQ(std::memcmp(&settings->profiles[3].MacroKeyInfo[120], &dropped, sizeof dropped), 0);
    EXPECT_EQ(settings->keyChanged[3][120], 1);

    EXPECT_EQ(changedKeys(*settings), 2);
    EXPECT_EQ(std::memcmp(&settings->profiles[2], &before->profiles[2], sizeof(ProfileRecord)), 0);
}

TEST(MacroStore, LongNamesAreCutForKeysAndStillFound) {
    TempDir dir;
    MacroStore store(dir.folder());
    // 18 ASCII bytes and a two-byte character: 20 bytes, one more than a key holds.
    const std::string longName = "Imported_Macro_Xy"
                                 "z\xC3\xA9"
                                 "1";
    store.appendMacro(makeMacro(longName, {kAPress}));
    auto settings = emptySettings();
    settings->profiles[0].MacroKeyInfo[1] = macroKey("", {});

    // Assigning copies the name cut at a character boundary.
    MacroStore::copyMacroToKey(*store.macroAt(0), settings->profiles[0].MacroKeyInfo[1]);
    const MacroKeyInfo& key = settings->profiles[0].MacroKeyInfo[1];
    EXPECT_EQ(fieldText(key.macroName), "Imported_Macro_Xyz");
    EXPECT_EQ(key.eventCount, 1);

    // The cut name still finds its macro: refresh keeps the key, merge adds nothing.
    EXPECT_EQ(store.findMacroForKey(key).index, 0);
    EXPECT_TRUE(store.findMacroForKey(key).same);
    store.refreshMacroKeys(*settings);
    EXPECT_EQ(key.assignType, kAssignMacro);
    store.mergeProfileMacros(*settings);
    EXPECT_EQ(store.count(), 1);
}
