#include "settings/IniFile.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

using namespace vantrel;
using vantrel::test::readFile;
using vantrel::test::TempDir;
using vantrel::test::writeFile;

namespace {

IniFile iniWith(const TempDir& dir, const std::string& content) {
    writeFile(dir.file("t.ini"), content);
    return IniFile(dir.file("t.ini"));
}

} // namespace

TEST(IniFile, LookupIgnoresCaseAndBlanksAndTakesTheFirstOfEachName) {
    TempDir dir;
    const IniFile ini = iniWith(dir, "  [ Setting ]  \n"
                                     "  standardKey  =  first value  \n"
                                     "standardkey=second\n"
                                     "[setting]\n"
                                     "other=from second section\n");
    EXPECT_EQ(ini.readText("SETTING", "StandardKey", "d"), "first value");
    EXPECT_EQ(ini.readText("setting", "standardkey", "d"), "first value");
    // Only the first section of a name is searched.
    EXPECT_EQ(ini.readText("Setting", "other", "absent"), "absent");
}

TEST(IniFile, CommentsHeadersAndLinesWithoutEquals) {
    TempDir dir;
    const IniFile ini = iniWith(dir, "top=before any section\n"
                                     "[S]\n"
                                     "; k=commented out\n"
                                     "k=v ;x\n"
                                     "bare\n"
                                     "[broken header\n"
                                     "after=still in S\n"
                                     "[T] trailing ] text\n"
                                     "x=1\n");
    EXPECT_EQ(ini.readText("S", "k", "d"), "v ;x"); // no inline comments
    EXPECT_EQ(ini.readText("S", "bare", "d"), "d"); // a key without '=' is absent
    EXPECT_EQ(ini.readText("S", "after", "d"), "still in S");
    EXPECT_EQ(ini.readText("T] trailing", "x", "d"), "1"); // name runs to the last ']'
    EXPECT_EQ(ini.readText("", "top", "d"), "d");
}

TEST(IniFile, QuotesAndLongValues) {
    TempDir dir;
    const std::string longValue(3000, 'x');
    const IniFile ini =
        iniWith(dir, "[S]\na='quoted'\nb=\"mixed'\nc='\nd=\"\"\nlong=" + longValue + "\n");
    EXPECT_EQ(ini.readText("S", "a", ""), "quoted");
    EXPECT_EQ(ini.readText("S", "b", ""), "\"mixed'");
    EXPECT_EQ(ini.readText("S", "c", ""), "'");
    EXPECT_EQ(ini.readText("S", "d", "default"), "");
    EXPECT_EQ(ini.readText("S", "long", "").size(), IniFile::kMaxValueLength);
}

TEST(IniFile, IntegerRules) {
    EXPECT_EQ(IniFile::parseInt("  42abc"), 42);
    EXPECT_EQ(IniFile::parseInt("-7"), -7);
    EXPECT_EQ(IniFile::parseInt("+5"), 5);
    EXPECT_EQ(IniFile::parseInt("abc"), 0);
    EXPECT_EQ(IniFile::parseInt("-"), 0);
    EXPECT_EQ(IniFile::parseInt("4294967297"), 1); // wraps to 32 bits
    EXPECT_EQ(IniFile::parseInt("2147483648"), INT32_MIN);

    TempDir dir;
    const IniFile ini = iniWith(dir, "[S]\nempty=\nhex=0x10\n");
    EXPECT_EQ(ini.readInt("S", "empty", -1), -1);
    EXPECT_EQ(ini.readInt("S", "missing", -1), -1);
    EXPECT_EQ(ini.readInt("S", "hex", -1), 0);
}

TEST(IniFile, BlobFormHasUpperCaseDigitsAndChecksumLast) {
    std::array<uint8_t, 20> bytes{};
    unsigned sum = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(0xF0 + i * 7);
        sum += bytes[i];
    }
    const std::string text = IniFile::encodeBlob(bytes.data(), bytes.size());
    ASSERT_EQ(text.size(), 42u);
    EXPECT_EQ(text.substr(0, 4), "F0F7");
    char checksum[3];
    std::snprintf(checksum, sizeof checksum, "%02X", sum & 0xFF);
    EXPECT_EQ(text.substr(40), checksum);

    std::array<uint8_t, 20> back{};
    ASSERT_TRUE(IniFile::decodeBlob(text, back.data(), back.size()));
    EXPECT_EQ(back, bytes);
}

TEST(IniFile, DamagedBlobsLeaveTheTargetAsItWas) {
    const uint8_t source[4] = {1, 2, 3, 0xAB};
    const std::string good = IniFile::encodeBlob(source, 4); // "010203AB" + "B1"
    ASSERT_EQ(good, "010203ABB1");

    uint8_t target[4] = {9, 9, 9, 9};
    const uint8_t untouched[4] = {9, 9, 9, 9};
    EXPECT_FALSE(IniFile::decodeBlob("010203ABB2", target, 4));   // checksum
    EXPECT_FALSE(IniFile::decodeBlob("010203AB", target, 4));     // too short
    EXPECT_FALSE(IniFile::decodeBlob("010203ABB100", target, 4)); // too long
    EXPECT_FALSE(IniFile::decodeBlob("01G203ABB1", target, 4));   // not hex
    EXPECT_EQ(0, std::memcmp(target, untouched, 4));

    EXPECT_TRUE(IniFile::decodeBlob("010203abb1", target, 4)); // either case reads
    EXPECT_EQ(0, std::memcmp(target, source, 4));
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
    TempDir dir;
    const std::string path = dir.file("t.ini");
    writeFile(path, "; my notes\n"
                    "[Setting]\n"
                    "  Keep = me \n"
                    "garbage \x01\x02 line\n"
                    "Value=old\n"
                    "\n"
                    "[Other]\n"
                    "a=1\n");
    IniFile ini(path);
    ini.writeText("setting", "VALUE", "new");          // replaced in place
    ini.writeInt("Setting", "Added", -12);             // end of its section, before the blank
    ini.writeText("Fresh", "x", "y");                  // new section at the end
    ini.writeText("Other", "b", "line\r\nInjected=1"); // a line break ends the value
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readFile(path), "; my notes\n"
                              "[Setting]\n"
                              "  Keep = me \n"
                              "garbage \x01\x02 line\n"
                              "VALUE=new\n"
                              "Added=-12\n"
                              "\n"
                              "[Other]\n"
                              "a=1\n"
                              "b=line\n"
                              "[Fresh]\n"
                              "x=y\n");
    const IniFile back(path);
    EXPECT_EQ(back.readInt("Setting", "added", 0), -12);
    EXPECT_EQ(back.readText("Other", "Injected", "absent"), "absent");
}

TEST(IniFile, LineEndsAreReadEitherWayAndKept) {
    TempDir dir;
    const std::string crlf = dir.file("crlf.ini");
    writeFile(crlf, "[S]\r\nk=v\r\n");
    IniFile a(crlf);
    EXPECT_EQ(a.readText("S", "k", ""), "v");
    a.writeText("S", "n", "w");
    ASSERT_TRUE(a.save());
    EXPECT_EQ(readFile(crlf), "[S]\r\nk=v\r\nn=w\r\n");

    const std::string lf = dir.file("lf.ini");
    writeFile(lf, "[S]\nk=v\n");
    IniFile b(lf);
    b.writeText("S", "n", "w");
    ASSERT_TRUE(b.save());
    EXPECT_EQ(readFile(lf), "[S]\nk=v\nn=w\n");

    IniFile c(dir.file("new.ini"));
    c.writeText("S", "k", "v");
    ASSERT_TRUE(c.save());
    EXPECT_EQ(readFile(dir.file("new.ini")), "[S]\r\nk=v\r\n");
}

TEST(IniFile, SaveCreatesFoldersKeepsTheModeAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.file("deep/er/t.ini");
    IniFile ini(path);
    ini.writeInt("S", "k", 1);
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(IniFile(path).readInt("S", "k", 0), 1);

    ::chmod(path.c_str(), 0640);
    ini.writeInt("S", "k", 2);
    ASSERT_TRUE(ini.save());
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(dir.file("deep/er")))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST(IniFile, MissingFileReadsEmptyAndFailedSaveReportsIt) {
    TempDir dir;
    IniFile ini(dir.file("no/such.ini"));
    EXPECT_EQ(ini.readText("S", "k", "dflt"), "dflt");
    writeFile(dir.file("blocker"), "a file where a folder should be");
    IniFile blocked(dir.file("blocker/t.ini"));
    blocked.writeInt("S", "k", 1);
    EXPECT_FALSE(blocked.save());
}

TEST(IniFile, ClearedDocumentWritesOnlyWhatFollows) {
    TempDir dir;
    const std::string path = dir.file("t.ini");
    writeFile(path, "; old\n[Macros]\nnumber=3\n2=AA\n");
    IniFile ini(path);
    ini.clear();
    EXPECT_EQ(ini.readInt("Macros", "number", -1), -1);
    ini.writeInt("Macros", "number", 1);
    EXPECT_EQ(readFile(path), "; old\n[Macros]\nnumber=3\n2=AA\n"); // untouched until saved
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(readFile(path), "[Macros]\r\nnumber=1\r\n");
}

TEST(IniFile, MarkedAndCrOnlyFilesReadAndAreWrittenAsUtf8InTheirLineEndStyle) {
    // "[S]", "name=Réglage 𝄞", "n=7": the same document in every form.
    const std::string utf8 = "[S]\r\nname=R\xC3\xA9glage \xF0\x9D\x84\x9E\r\nn=7\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char16_t c : u"[S]\r\nname=R\u00E9glage \U0001D11E\r\nn=7\r\n") {
        if (c) {
            utf16 += static_cast<char>(c & 0xFF);
            utf16 += static_cast<char>(c >> 8);
        }
    }
    const struct {
        const char* what;
        std::string content;
        std::string saved; // after "n" is rewritten as 8
    } cases[] = {
        {"UTF-8 mark", "\xEF\xBB\xBF" + utf8,
         "[S]\r\nname=R\xC3\xA9glage \xF0\x9D\x84\x9E\r\nn=8\r\n"},
        {"UTF-16LE", utf16, "[S]\r\nname=R\xC3\xA9glage \xF0\x9D\x84\x9E\r\nn=8\r\n"},
        {"CR only", "[S]\rname=R\xC3\xA9glage \xF0\x9D\x84\x9E\rn=7\r",
         "[S]\rname=R\xC3\xA9glage \xF0\x9D\x84\x9E\rn=8\r"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        IniFile ini = iniWith(dir, c.content);
        EXPECT_EQ(ini.readText("S", "name", ""), "R\xC3\xA9glage \xF0\x9D\x84\x9E") << c.what;
        EXPECT_EQ(ini.readInt("S", "n", -1), 7) << c.what;
        ini.writeInt("S", "n", 8);
        ASSERT_TRUE(ini.save()) << c.what;
        EXPECT_EQ(readFile(dir.file("t.ini")), c.saved) << c.what;
    }
    // A lone surrogate and an odd last byte do not stop the reading.
    const IniFile damaged =
        iniWith(dir, std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\x00\xD8v\0\n\0x", 21));
    EXPECT_EQ(damaged.readText("S", "k", ""), "\xEF\xBF\xBDv");
}

TEST(IniFile, AFileThatCannotBeReadWholeIsNeverReplaced) {
    TempDir dir;
    // Reading /proc/self/mem from its start fails, as a damaged disk or a file
    // without read permission would; a folder cannot be read either.
    const std::string path = dir.file("config.ini");
    std::filesystem::create_symlink("/proc/self/mem", path);
    std::filesystem::create_directory(dir.file("folder.ini"));
    for (const std::string& unreadable : {path, dir.file("folder.ini")}) {
        IniFile ini(unreadable);
        EXPECT_EQ(ini.readInt("Setting", "FWVersion", 100), 100);
        ini.writeInt("Setting", "FWVersion", 205);
        EXPECT_FALSE(ini.save()) << unreadable;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    // A cleared document replaces the whole file, but still not one it could not read.
    IniFile cleared(path);
    cleared.clear();
    cleared.writeInt("Macros", "number", 0);
    EXPECT_FALSE(cleared.save());
    EXPECT_TRUE(std::filesystem::is_symlink(path));
}

TEST(IniFile, ASaveRemovesWhatAnInterruptedSaveLeft) {
    TempDir dir;
    const std::string path = dir.file("config.ini");
    writeFile(path, "[S]\r\nk=1\r\n");
    writeFile(dir.file("config.ini.saving"), "left by a killed save");
    const std::vector<std::string> others = {"config.ini.tmp", "config.ini.AbC123",
                                             "other.ini.saving"};
    for (const auto& name : others)
        writeFile(dir.file(name), "not ours");
    IniFile ini(path);
    ini.writeInt("S", "k", 2);
    ASSERT_TRUE(ini.save());
    EXPECT_FALSE(std::filesystem::exists(dir.file("config.ini.saving")));
    for (const auto& name : others)
        EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << name;
    EXPECT_EQ(IniFile(path).readInt("S", "k", 0), 2);
}

TEST(IniFile, ASaveThatChangesNothingLeavesTheFileAlone) {
    TempDir dir;
    const std::string path = dir.file("t.ini");
    writeFile(path, "[S]\r\nk=1\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    IniFile ini(path);
    ini.writeInt("S", "k", 1);
    ASSERT_TRUE(ini.save());
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    ini.writeInt("S", "k", 2);
    ASSERT_TRUE(ini.save());
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
}
