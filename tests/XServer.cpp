#include "tests/XServer.h"

#include <QProcess>
#include <QStandardPaths>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantrel::test {

namespace {
XServer* g_server = nullptr;
}

XServer& XServer::instance() {
    return *g_server;
}

bool installed(const char* program) {
    return !QStandardPaths::findExecutable(QString::fromUtf8(program)).isEmpty();
}

bool runProgram(const QString& program, const QStringList& arguments) {
    return QProcess::execute(program, arguments) == 0;
}

bool XServer::start() {
    if (!installed("Xvfb")) {
        m_whyNot = "Xvfb is not installed (scripts/deps.sh installs it)";
        return false;
    }
    int fds[2];
    if (::pipe(fds) != 0) {
        m_whyNot = "no pipe for Xvfb";
        return false;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        ::close(fds[0]);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        // -displayfd: Xvfb takes the first free display and writes its number.
        const std::string fd = std::to_string(fds[1]);
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "800x600x24",
                 "-nolisten", "tcp", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    char c = 0;
    while (m_pid > 0 && ::poll(&wait, 1, 15000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (m_pid <= 0 || c != '\n' || number.empty()) {
        m_whyNot = "Xvfb did not start";
        TearDown();
        return false;
    }
    m_display = ":" + number;
    return true;
}

void XServer::SetUp() {
    g_server = this;
    if (start()) {
        ::setenv("DISPLAY", m_display.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    } else {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    m_application = std::make_unique<QApplication>(m_argc, m_argv);
}

void XServer::TearDown() {
    m_application.reset();
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

} // namespace vantrel::test

#if defined(__SANITIZE_ADDRESS__)
// Qt's X11 platform leaves a D-Bus connection buffer behind at exit; the leak is
// libdbus's, not one of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new vantrel::test::XServer(argc, argv));
    return RUN_ALL_TESTS();
}
