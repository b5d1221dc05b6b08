#include "monitor/games/GameMatcher.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace vantrel;
using vantrel::test::TempDir;

namespace {

constexpr int kNone = -1;

struct Case {
    const char* name;
    std::array<std::string, kProfileCount> games;
    // The window's process: its executable, argv[0] (none when empty) and
    // working folder; whether it names the test's Wine prefix; its classes.
    std::string exe;
    std::string argv0;
    std::string workingFolder;
    bool prefix;
    std::vector<std::string> classes;
    int expected;
};

// $T is the test's folder, $Z the same as a Wine Z: path. It holds
// games/Foo/foo.exe, other/foo.exe, native/game and its link native/link, and
// a prefix pfx whose C: is pfx/drive_c (with Games/Bar/bar.exe) and Z: is /.
const std::string kWine = "/usr/lib/wine/wine64";
const std::string kFoo = "$T/games/Foo/foo.exe";
const Case kCases[] = {
    {"WineLinuxPath", {"", kFoo}, kWine, kFoo, "", false, {}, 1},
    {"WineZPath", {"", "", kFoo}, kWine, "$Z\\games\\Foo\\foo.exe", "", true, {}, 2},
    {"WineZPathWithoutAPrefix", {kFoo}, kWine, "$Z\\games\\Foo\\foo.exe", "", false, {}, 0},
    {"WineRelativeToItsFolder", {kFoo}, kWine, "foo.exe", "$T/games/Foo", false, {}, 0},
    {"WineCPathThroughDosdevices",
     {"", "$T/pfx/drive_c/Games/Bar/bar.exe"},
     kWine,
     "C:\\Games\\Bar\\bar.exe",
     "",
     true,
     {},
     1},
    // Windows ignores case; the file does not resolve here, its name decides.
    {"GameFileAsCPathInAnotherCase",
     {"", "", "", "c:\\games\\Bar\\bar.exe"},
     kWine,
     "$T/pfx/drive_c/Games/Bar/bar.exe",
     "",
     true,
     {},
     3},
    {"GameFileAsCPathOfTheRightCase",
     {"", "", "", "C:\\Games\\Bar\\bar.exe"},
     kWine,
     "$T/pfx/drive_c/Games/Bar/bar.exe",
     "",
     true,
     {},
     3},
    {"ProtonPreloader",
     {"", kFoo},
     "/home/u/Proton/files/bin/wine64-preloader",
     "$Z\\games\\Foo\\foo.exe",
     "",
     true,
     {},
     1},
    {"FileNameInAnotherCase", {"", "$T/games/Foo/FOO.EXE"}, kWine, kFoo, "", false, {}, 1},
    {"UnresolvedDriveByFileName",
     {"", "", "D:\\X\\Foo.exe"},
     kWine,
     "C:\\Y\\foo.exe",
     "",
     false,
     {},
     2},
    {"TwoFilesOfTheSameName", {"", "$T/other/foo.exe", kFoo}, kWine, kFoo, "", false, {}, 2},
    {"FullPathBeforeLowerNumber",
     {"", "D:\\Y\\foo.exe", "c:\\x\\FOO.exe"},
     kWine,
     "C:\\X\\foo.exe",
     "",
     false,
     {},
     2},
    {"SameFileNameLowerNumber",
     {"", "", "D:\\a\\foo.exe", "E:\\b\\foo.exe"},
     kWine,
     "C:\\c\\foo.exe",
     "",
     false,
     {},
     2},
    {"ExeOutsideWine", {kFoo}, "/usr/bin/python3", kFoo, "", false, {}, kNone},
    {"WineWithoutAProgram", {kFoo}, kWine, "", "", false, {}, kNone},
    {"Path", {"", "", "$T/native/game"}, "$T/native/game", "", "", false, {}, 2},
    {"PathThroughALink", {"", "", "$T/native/link"}, "$T/native/game", "", "", false, {}, 2},
    {"OtherPath", {"$T/native/link"}, "$T/games/Foo/foo.exe", "", "", false, {}, kNone},
    {"ClassWithoutAProcess", {"", "", "", "Factorio"}, "", "", "", false, {"factorio"}, 3},
    {"ClassOrInstance",
     {"", "steam_app_1091500"},
     kWine,
     "",
     "",
     false,
     {"steam_app_1091500", "Steam_App_1091500"},
     1},
    {"WineClass", {"foo.exe"}, "", "", "", false, {"foo.exe", "foo.exe"}, 0},
    {"ClassIsNoFileName", {"game"}, "$T/native/game", "", "", false, {}, kNone},
    {"EmptyAndRelativeNeverMatch",
     {"", "games/Foo/foo.exe", "Foo\\foo.exe", "./native/game", "native/game"},
     kWine,
     "foo.exe",
     "$T/games/Foo",
     false,
     {""},
     kNone},
    {"NoWindow", {"", "", ""}, "", "", "", false, {}, kNone},
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class GameMatcherTest : public ::testing::TestWithParam<Case> {
protected:
    GameMatcherTest() {
        for (const char* file :
             {"games/Foo/foo.exe", "other/foo.exe", "native/game", "pfx/drive_c/Games/Bar/bar.exe"})
            test::writeFile(m_dir.file(file), "MZ");
        std::filesystem::create_symlink("game", m_dir.file("native/link"));
        std::filesystem::create_directories(m_dir.file("pfx/dosdevices"));
        std::filesystem::create_symlink("../drive_c", m_dir.file("pfx/dosdevices/c:"));
        std::filesystem::create_symlink("/", m_dir.file("pfx/dosdevices/z:"));
    }

    std::string expand(std::string text) const {
        std::string windows = "Z:" + m_dir.file("");
        windows.pop_back();
        std::ranges::replace(windows, '/', '\\');
        for (const auto& [from, to] : {std::pair{"$T", m_dir.file("")}, std::pair{"$Z", windows}}) {
            if (const size_t at = text.find(from); at != std::string::npos)
                text.replace(at, 2, std::string(to).substr(0, to.size() - (from[1] == 'T')));
        }
        return text;
    }

    TempDir m_dir;
};

TEST_P(GameMatcherTest, ChoosesTheProfile) {
    const Case& c = GetParam();
    std::array<std::string, kProfileCount> games;
    std::ranges::transform(c.games, games.begin(), [&](const auto& g) { return expand(g); });
    ActiveWindow window;
    window.exe = expand(c.exe);
    if (!c.argv0.empty())
        window.commandLine = {expand(c.argv0), "-windowed"};
    window.workingFolder = expand(c.workingFolder);
    window.winePrefix = c.prefix ? m_dir.file("pfx") : m_dir.file("none");
    window.classes = c.classes;
    EXPECT_EQ(GameMatcher::match(games, window).value_or(kNone), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, GameMatcherTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
