#include "link/RuntimeDirectory.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace vantrel;
using vantrel::test::TempDir;

TEST(RuntimeDirectory, CreatedPrivateUnderXdgRuntimeDir) {
    TempDir dir;
    const auto path = RuntimeDirectory::locate(dir.folder().c_str(), ::getuid());
    ASSERT_TRUE(path);
    EXPECT_EQ(*path, dir.folder() + "/vantrel-gaming-keyboard/");
    struct stat st {};
    ASSERT_EQ(::stat(path->c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // A second call finds the same folder.
    EXPECT_EQ(RuntimeDirectory::locate(dir.folder().c_str(), ::getuid()), path);
}

TEST(RuntimeDirectory, RefusesFoldersThatAreNotPrivate) {
    TempDir dir;
    const std::string path = dir.folder() + "vantrel-gaming-keyboard";
    ASSERT_EQ(::mkdir(path.c_str(), 0755), 0);
    EXPECT_FALSE(RuntimeDirectory::locate(dir.folder().c_str(), ::getuid()));

    ::rmdir(path.c_str());
    ASSERT_EQ(::mkdir(dir.file("elsewhere").c_str(), 0700), 0);
    ASSERT_EQ(::symlink(dir.file("elsewhere").c_str(), path.c_str()), 0);
    EXPECT_FALSE(RuntimeDirectory::locate(dir.folder().c_str(), ::getuid()));

    // Owned by somebody else.
    ::unlink(path.c_str());
    EXPECT_FALSE(RuntimeDirectory::locate(dir.folder().c_str(), ::getuid() + 1));
}

TEST(RuntimeDirectory, RelativeOrMissingVariableFallsBackToTmp) {
    const std::string expected = "/tmp/vantrel-gaming-keyboard-" + std::to_string(::getuid()) + "/";
    EXPECT_EQ(RuntimeDirectory::locate("relative/dir", ::getuid()), expected);
    EXPECT_EQ(RuntimeDirectory::locate(nullptr, ::getuid()), expected);
}
