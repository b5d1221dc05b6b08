#include "monitor/games/GameFollower.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <vector>

using namespace vantrel;
using vantrel::test::TempDir;
using vantrel::test::writeFile;

namespace {

constexpr int kStay = -1;

struct Step {
    enum Kind { Focus, Manual, Unreported, Games } kind;
    // Focus: the active program's file ("" for none); Manual and Unreported
    // (a switch nobody told the follower of): the profile; Games: the five
    // GameFiles, comma-separated.
    std::string arg;
    int expected = kStay;
};
using enum Step::Kind;

struct Case {
    const char* name;
    const char* games;
    std::vector<Step> steps;
};

// Each case starts on profile 0, and a switch makes its profile current.
// Files: a, b and other are programs, la links to a. "/..." stays as it is,
// "rel:" makes the path relative to the working folder.
const Case kCases[] = {
    {"GainAndLoseTheFocus", ",a,,,", {{Focus, "a", 1}, {Focus, "other", 0}}},
    {"TheGameEnds", ",a,,,", {{Focus, "a", 1}, {Focus, "", 0}}},
    {"GameFileThroughALink", ",,la,,", {{Focus, "a", 2}, {Focus, "", 0}}},
    {"ExeThroughALinkAndDots", ",,,sub/../a,", {{Focus, "la", 3}, {Focus, "b", 0}}},
    {"LowestProfileWins", ",,b,la,a", {{Focus, "a", 3}}},
    {"GameProfileAlreadyCurrent", "a,,,,", {{Focus, "a"}, {Focus, "other"}}},
    {"GameToGameToOther", ",a,b,,", {{Focus, "a", 1}, {Focus, "b", 2}, {Focus, "other", 0}}},
    {"GameToTheGameOfTheProfileBefore", "b,a,,,", {{Focus, "a", 1}, {Focus, "b", 0}, {Focus, ""}}},
    {"FromACurrentGameProfileToAnotherGame",
     "a,b,,,",
     {{Focus, "a"}, {Focus, "b", 1}, {Focus, "other", 0}}},
    {"ManualSwitchDropsTheReturn",
     ",a,,,",
     {{Focus, "a", 1}, {Manual, "3"}, {Focus, "other"}, {Focus, "a", 1}, {Focus, "", 3}}},
    {"ManualSwitchToTheFollowedProfileKeepsTheReturn",
     ",a,,,",
     {{Focus, "a", 1}, {Manual, "1"}, {Focus, "", 0}}},
    {"UnreportedSwitchDropsTheReturn", ",a,,,", {{Focus, "a", 1}, {Unreported, "4"}, {Focus, ""}}},
    {"ManualSwitchWithoutAGame", ",a,,,", {{Manual, "2"}, {Focus, "a", 1}, {Focus, "", 2}}},
    {"EmptyGameFilesNeverMatch", ",,,,", {{Focus, ""}, {Focus, "a"}}},
    {"UnresolvedGameFileNeverMatches",
     ",/nonexistent/a,,,",
     {{Focus, "/nonexistent/a"}, {Focus, ""}}},
    {"RelativeGameFileNeverMatches", ",rel:a,,,", {{Focus, "a"}}},
    {"GameFileEmptiedWhileFollowed",
     ",a,,,",
     {{Focus, "a", 1}, {Games, ",,,,"}, {Focus, "other", 0}, {Focus, "a"}}},
    {"GameFileMovedWhileFollowed",
     ",a,,,",
     {{Focus, "a", 1}, {Games, ",,,,a"}, {Focus, "a", 4}, {Focus, "", 0}}},
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class GameFollowerTest : public ::testing::TestWithParam<Case> {
protected:
    GameFollowerTest() {
        for (const char* name : {"a", "b", "other"})
            writeFile(m_dir.file(name), "#!/bin/sh\n");
        std::filesystem::create_directory(m_dir.file("sub"));
        std::filesystem::create_symlink(m_dir.file("a"), m_dir.file("la"));
    }

    std::string path(const std::string& name) const {
        if (name.empty() || name.front() == '/')
            return name;
        if (name.starts_with("rel:"))
            return std::filesystem::relative(m_dir.file(name.substr(4))).string();
        return m_dir.file(name);
    }

    std::array<std::string, kProfileCount> games(const std::string& list) const {
        std::array<std::string, kProfileCount> files;
        std::istringstream in(list);
        for (std::string& file : files) {
            std::getline(in, file, ',');
            file = path(file);
        }
        return files;
    }

    TempDir m_dir;
};

TEST_P(GameFollowerTest, SwitchesAsTheFocusMoves) {
    GameFollower follower;
    follower.setGames(games(GetParam().games));
    int current = 0;
    for (size_t n = 0; n < GetParam().steps.size(); ++n) {
        const Step& step = GetParam().steps[n];
        SCOPED_TRACE("step " + std::to_string(n));
        switch (step.kind) {
        case Focus: {
            ActiveWindow window;
            window.exe = path(step.arg);
            const std::optional<int> to = follower.activeWindowChanged(window, current);
            EXPECT_EQ(to.value_or(kStay), step.expected);
            current = to.value_or(current);
            break;
        }
        case Manual:
            current = std::stoi(step.arg);
            follower.manualSwitch(current);
            break;
        case Unreported:
            current = std::stoi(step.arg);
            break;
        case Games:
            follower.setGames(games(step.arg));
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Sequences, GameFollowerTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
