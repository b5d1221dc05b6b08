#include "settings/ConfigFolder.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>

using namespace vantrel;
using vantrel::test::TempDir;

namespace {

unsigned modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(ConfigFolder, ChoosesBesideTheProgramOrThePerUserFolder) {
    TempDir root;
    const std::string program = root.folder() + "program/";
    const std::string home = root.file("home");
    const std::string xdg = root.file("xdg");
    struct Case {
        const char* what;
        std::string program;
        bool writable;
        std::string xdgConfigHome;
        std::string home;
        std::string expected;
    };
    const std::string perUser = xdg + "/vantrel-gaming-keyboard/";
    const std::string underHome = home + "/.config/vantrel-gaming-keyboard/";
    const Case cases[] = {
        {"writable program folder", program, true, xdg, home, program},
        {"writable current folder", "", true, xdg, home, ""},
        {"no usable home", program, false, "config", "home", program},
        {"XDG_CONFIG_HOME", program, false, xdg, home, perUser},
        {"XDG_CONFIG_HOME with slashes", program, false, xdg + "//", home, perUser},
        {"no XDG_CONFIG_HOME", program, false, "", home, underHome},
        {"relative XDG_CONFIG_HOME", program, false, "config", home + "/", underHome},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConfigFolder::locate(c.program, c.writable, c.xdgConfigHome, c.home), c.expected)
            << c.what;
        // Staying beside the program makes nothing in the home folder (these
        // cases come first).
        if (c.expected == c.program) {
            EXPECT_FALSE(std::filesystem::exists(xdg) || std::filesystem::exists(home)) << c.what;
        }
    }
}

TEST(ConfigFolder, MakesMissingFoldersForTheUserAlone) {
    TempDir root;
    const std::string xdg = root.file("a/b");
    const std::string folder = ConfigFolder::locate(root.folder(), false, xdg, "");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_EQ(modeOf(folder), 0700u);
    EXPECT_EQ(modeOf(root.file("a")), 0700u);

    // A folder the user already has keeps the mode they gave it.
    ::chmod(folder.c_str(), 0750);
    EXPECT_EQ(ConfigFolder::locate(root.folder(), false, xdg, ""), folder);
    EXPECT_EQ(modeOf(folder), 0750u);
}

TEST(ConfigFolder, ReadsTheEnvironmentWhenTheProgramFolderCannotBeWritten) {
    TempDir root;
    const std::string missing = root.folder() + "gone/";
    EXPECT_TRUE(ConfigFolder::writable(root.folder()));
    EXPECT_FALSE(ConfigFolder::writable(missing));

    const ScopedVariable xdg("XDG_CONFIG_HOME", root.file("xdg"));
    EXPECT_EQ(ConfigFolder::locate(missing), root.file("xdg") + "/vantrel-gaming-keyboard/");
    EXPECT_EQ(ConfigFolder::locate(root.folder()), root.folder());

    const ScopedVariable relative("XDG_CONFIG_HOME", "xdg");
    const ScopedVariable home("HOME", root.file("home"));
    EXPECT_EQ(ConfigFolder::locate(missing),
              root.file("home") + "/.config/vantrel-gaming-keyboard/");
}
