#include "tests/XServer.h"

#include "tests/ChildProgram.h"

#include <QProcess>
#include <QStandardPaths>

#include <cstdlib>

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
    const std::string number = startProgram(
        {"Xvfb", "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"}, m_pid);
    if (number.empty()) {
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
    stopProgram(m_pid, SIGTERM);
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
