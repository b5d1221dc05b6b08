#include "link/RobustMutex.h"
#include "link/SharedBlockMapping.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <memory>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantrel;
using Lock = RobustMutex::LockResult;
using namespace std::chrono_literals;
using vantrel::test::TempDir;

TEST(SharedBlockMapping, OpensOnlyAWholeBlockOfThisUser) {
    TempDir dir;
    SharedBlockMapping mapping;
    EXPECT_EQ(mapping.open(dir.file("none")), SharedBlockMapping::OpenResult::Absent);

    std::ofstream(dir.file("short"), std::ios::binary) << std::string(340435, '\0');
    EXPECT_EQ(mapping.open(dir.file("short")), SharedBlockMapping::OpenResult::CannotMap);
    EXPECT_FALSE(mapping.mapped());

    auto content = std::make_unique<SharedBlock>();
    content->CurrentProfile = 4;
    content->flagsG[4] = 1;
    SharedBlockMapping owner;
    ASSERT_TRUE(owner.create(dir.file("block"), *content));
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("block").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 340436);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    ASSERT_EQ(mapping.open(dir.file("block")), SharedBlockMapping::OpenResult::Mapped);
    EXPECT_EQ(mapping.block()->CurrentProfile, 4);
    owner.block()->flagB = 1; // both views are the same memory
    EXPECT_EQ(mapping.block()->flagB, 1);
    EXPECT_EQ(mapping.block()->flagsG[4], 1);

    if (::geteuid() == 0) {
        ::chown(dir.file("block").c_str(), 65534, 65534);
        EXPECT_EQ(mapping.open(dir.file("block")), SharedBlockMapping::OpenResult::Absent);
    }
}

TEST(RobustMutex, WaitsAndExcludes) {
    TempDir dir;
    RobustMutex a;
    EXPECT_FALSE(a.open(dir.file("mutex")));
    EXPECT_EQ(a.lock(), Lock::Failed);
    ASSERT_TRUE(a.create(dir.file("mutex")));
    RobustMutex b;
    ASSERT_TRUE(b.open(dir.file("mutex")));
    ASSERT_EQ(a.lock(), Lock::Locked);
    a.unlock();
    ASSERT_EQ(b.lock(), Lock::Locked);
    b.unlock();
}

TEST(RobustMutex, AnOwnerThatDiedCostsOneFailedWait) {
    TempDir dir;
    RobustMutex mutex;
    ASSERT_TRUE(mutex.create(dir.file("mutex")));
    const pid_t child = ::fork();
    if (child == 0) {
        RobustMutex inChild;
        ::_exit(inChild.open(dir.file("mutex")) && inChild.lock() == Lock::Locked
                    ? 0
                    : 1); // dies holding it
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(mutex.lock(), Lock::OwnerDied); // the abandoned case
    EXPECT_EQ(mutex.lock(), Lock::Locked);    // made consistent and released: usable again
    mutex.unlock();
}

TEST(RobustMutex, AHolderThatNeverLetsGoCostsTheBoundedWait) {
    TempDir dir;
    RobustMutex mutex;
    ASSERT_TRUE(mutex.create(dir.file("mutex")));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        RobustMutex inChild;
        if (inChild.open(dir.file("mutex")) && inChild.lock() == Lock::Locked) {
            char c = 1;
            (void)!::write(ready[1], &c, 1);
            ::pause();
        }
        ::_exit(1);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(mutex.lock(), Lock::Failed);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 1900ms);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    // The killed holder leaves it abandoned: one failed wait, then it works.
    EXPECT_EQ(mutex.lock(), Lock::OwnerDied);
    EXPECT_EQ(mutex.lock(), Lock::Locked);
    mutex.unlock();
}
