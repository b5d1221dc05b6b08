#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <sys/types.h>

namespace vantrel::test {

// Starts an Xvfb server of the test program's own on a free display and makes
// the QApplication on it; where no server can be started the application runs
// offscreen and whyNot() says why, for the tests that need X to skip.
class XServer final : public ::testing::Environment {
public:
    XServer(int argc, char** argv) : m_argc(argc), m_argv(argv) {}

    void SetUp() override;
    void TearDown() override;

    bool running() const { return m_pid > 0; }
    const std::string& display() const { return m_display; }
    const std::string& whyNot() const { return m_whyNot; }

    // The one server of the test program.
    static XServer& instance();

private:
    bool start();

    int m_argc;
    char** m_argv;
    pid_t m_pid = -1;
    std::string m_display;
    std::string m_whyNot;
    std::unique_ptr<QApplication> m_application;
};

// True when the program is found on PATH.
bool installed(const char* program);

// Runs a program on the test's display and waits for it; true when it succeeded.
bool runProgram(const QString& program, const QStringList& arguments);

} // namespace vantrel::test
