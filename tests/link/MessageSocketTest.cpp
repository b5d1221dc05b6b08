#include "link/MessageSocket.h"
#include "link/LinkMessage.h"
#include "tests/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vantrel;
using vantrel::test::TempDir;

namespace {

// Sends raw bytes the way a foreign or broken peer would.
bool sendRaw(const std::string& path, const void* bytes, size_t size) {
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    const ssize_t sent =
        ::sendto(fd, bytes, size, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::close(fd);
    return sent == static_cast<ssize_t>(size);
}

} // namespace

TEST(LinkMessage, TwentyFourLittleEndianBytes) {
    const LinkMessage m{1224, 3, -2};
    const auto bytes = m.encode();
    const unsigned char expected[24] = {0xC8, 0x04, 0,    0,    0,    0,    0,    0,
                                        3,    0,    0,    0,    0,    0,    0,    0,
                                        0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(0, std::memcmp(bytes.data(), expected, 24));
    const auto back = LinkMessage::decode(bytes.data(), 24);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->message, 1224u);
    EXPECT_EQ(back->wParam, 3u);
    EXPECT_EQ(back->lParam, -2);
    EXPECT_FALSE(LinkMessage::decode(bytes.data(), 23));
}

TEST(MessageSocket, DeliversMessagesInOrderAndDropsWrongSizes) {
    TempDir dir;
    const std::string path = dir.file("box");
    MessageSocket box;
    ASSERT_TRUE(box.bind(path));
    EXPECT_FALSE(box.receive());

    ASSERT_TRUE(MessageSocket::post(path, {1255, 0, 0}));
    const unsigned char shortOne[23] = {};
    const unsigned char longOne[25] = {0xE8, 0x04};
    ASSERT_TRUE(sendRaw(path, shortOne, sizeof shortOne));
    ASSERT_TRUE(sendRaw(path, longOne, sizeof longOne));
    ASSERT_TRUE(MessageSocket::post(path, {1256, 7, 0}));

    auto first = box.receive();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->message, 1255u);
    auto second = box.receive();
    ASSERT_TRUE(second);
    EXPECT_EQ(second->message, 1256u);
    EXPECT_EQ(second->wParam, 7u);
    EXPECT_FALSE(box.receive());
}

TEST(MessageSocket, NobodyThereMeansNotFound) {
    TempDir dir;
    EXPECT_FALSE(MessageSocket::post(dir.file("missing"), {1224, 1, 0}));
    {
        MessageSocket gone;
        ASSERT_TRUE(gone.bind(dir.file("stale")));
        // Leave the socket file behind, as a crashed monitor would.
        ::link(dir.file("stale").c_str(), dir.file("stale2").c_str());
    }
    EXPECT_FALSE(MessageSocket::post(dir.file("stale2"), {1224, 1, 0}));

    // A reader that never reads: once its queue is full, posting fails at once.
    MessageSocket sleepy;
    ASSERT_TRUE(sleepy.bind(dir.file("sleepy")));
    int posted = 0;
    while (MessageSocket::post(dir.file("sleepy"), {1224, 1, 0}) && posted < 100000)
        ++posted;
    EXPECT_LT(posted, 100000);
    EXPECT_GT(posted, 0);
}

TEST(MessageSocket, BindingReplacesAStaleSocketFile) {
    TempDir dir;
    {
        MessageSocket old;
        ASSERT_TRUE(old.bind(dir.file("box")));
        ::link(dir.file("box").c_str(), dir.file("keep").c_str());
    }
    ::rename(dir.file("keep").c_str(), dir.file("box").c_str());
    MessageSocket box;
    ASSERT_TRUE(box.bind(dir.file("box")));
    ASSERT_TRUE(MessageSocket::post(dir.file("box"), {1258, 0, 0}));
    EXPECT_TRUE(box.receive());
}

TEST(MessageSocket, MessagesFromAnotherUserAreDropped) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to send as another user";
    TempDir dir;
    ::chmod(dir.folder().c_str(), 0777);
    const std::string path = dir.file("box");
    MessageSocket box;
    ASSERT_TRUE(box.bind(path));
    ::chmod(path.c_str(), 0666);

    const pid_t child = ::fork();
    if (child == 0) {
        const bool sent = ::setuid(65534) == 0 && MessageSocket::post(path, {1255, 0, 0});
        ::_exit(sent ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the foreign post was not sent";
    ASSERT_TRUE(MessageSocket::post(path, {1256, 0, 0}));
    const auto only = box.receive();
    ASSERT_TRUE(only);
    EXPECT_EQ(only->message, 1256u);
    EXPECT_FALSE(box.receive());
}
