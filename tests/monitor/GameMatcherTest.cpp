#include "monitor/games/GameMatcher.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

using namespace vantrel;

namespace {

// $T is the test's folder: games/Foo/foo.exe, other/foo.exe, native/game and
// its link native/link, and the Wine prefix pfx, whose C: is pfx/drive_c
// (with Games/Bar/bar.exe) and whose Z: is the default, /. $Z is $T as a Z:
// path. Lists are comma-separated; the process runs in $T/games/Foo.
struct Case {
    const char* name;
    const char* games;
    const char* exe;
    const char* argv0;
    const char* classes;
    int expected;
};

constexpr int kNone = -1;
#define WINE "/usr/lib/wine/wine64"
#define FOO "$T/games/Foo/foo.exe"
#define BAR "$T/pfx/drive_c/Games/Bar/bar.exe"
const Case kCases[] = {
    {"WineLinuxPath", "," FOO, WINE, FOO, "", 1},
    {"WineZPath", ",," FOO, WINE, "$Z\\games\\Foo\\foo.exe", "", 2},
    {"WineRelativeToItsFolder", FOO, WINE, "foo.exe", "", 0},
    {"WineCPathThroughDosdevices", "," BAR, WINE, "C:\\Games\\Bar\\bar.exe", "", 1},
    {"GameFileAsCPath", ",,,C:\\Games\\Bar\\bar.exe", WINE, BAR, "", 3},
    // Windows ignores case; this file does not resolve, its name decides.
    {"GameFileAsCPathInAnotherCase", ",,,c:\\games\\Bar\\BAR.exe", WINE, BAR, "", 3},
    {"ProtonPreloader", "," FOO, "/p/files/bin/wine64-preloader", "$Z\\games\\Foo\\foo.exe", "", 1},
    {"FileNameInAnotherCase", ",$T/games/Foo/FOO.EXE", WINE, FOO, "", 1},
    {"UnresolvedByFileName", ",,D:\\X\\Foo.exe", WINE, "E:\\Y\\foo.exe", "", 2},
    {"SameNameOtherFile", ",$T/other/foo.exe," FOO, WINE, FOO, "", 2},
    {"FullPathBeforeLowerNumber", ",D:\\Y\\foo.exe,e:\\x\\FOO.exe", WINE, "E:\\X\\foo.exe", "", 2},
    {"SameNameLowerNumber", ",,D:\\a\\foo.exe,E:\\b\\foo.exe", WINE, "F:\\c\\foo.exe", "", 2},
    {"ExeOutsideWine", FOO, "/usr/bin/python3", FOO, "", kNone},
    {"WineWithoutAProgram", FOO, WINE, "", "", kNone},
    {"Path", ",,$T/native/game", "$T/native/game", "", "", 2},
    {"PathThroughALink", ",,$T/native/link", "$T/native/game", "", "", 2},
    {"OtherPath", "$T/native/link", FOO, "", "", kNone},
    {"ClassWithoutAProcess", ",,,Factorio", "", "", "factorio", 3},
    {"ClassOrInstance", ",steam_app_1091500", WINE, "", "steam_app_1091500,Steam_App_1091500", 1},
    {"WineClass", "foo.exe", "", "", "foo.exe,foo.exe", 0},
    {"ClassIsNoFileName", "game", "$T/native/game", "", "", kNone},
    {"EmptyAndRelativeNeverMatch", ",games/Foo/foo.exe,Foo\\foo.exe,./native/game,native/game",
     WINE, "foo.exe", ",", kNone},
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
    }

    std::vector<std::string> list(const std::string& text) const {
        std::vector<std::string> items;
        std::istringstream in(text);
        for (std::string item; std::getline(in, item, ',');)
            items.push_back(expand(item));
        return items;
    }

    std::string expand(std::string text) const {
        const std::string folder = m_dir.file("").substr(0, m_dir.file("").size() - 1);
        std::string windows = "Z:" + folder;
        std::ranges::replace(windows, '/', '\\');
        if (text.starts_with("$T"))
            text.replace(0, 2, folder);
        if (text.starts_with("$Z"))
            text.replace(0, 2, windows);
        return text;
    }

    test::TempDir m_dir;
};

TEST_P(GameMatcherTest, ChoosesTheProfile) {
    const Case& c = GetParam();
    std::array<std::string, kProfileCount> games;
    std::ranges::copy(list(c.games), games.begin());
    ActiveWindow window;
    window.exe = expand(c.exe);
    window.commandLine = {expand(c.argv0), "-windowed"};
    window.workingFolder = m_dir.file("games/Foo");
    window.winePrefix = m_dir.file("pfx");
    window.classes = list(c.classes);
    EXPECT_EQ(GameMatcher::match(games, window).value_or(kNone), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Rules, GameMatcherTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
