// Start-up as a user feels it: from starting the process to the first paint of
// the main window, on the offscreen platform, beside a bare Qt dialog started
// the same way. Each run is a fresh process of this program in child mode,
// which writes one byte to a pipe at the first paint; its peak resident memory
// by then is reported too.
#include "app/MainWindow.h"
#include "link/MonitorLink.h"
#include "link/RuntimeDirectory.h"
#include "link/SingleInstance.h"
#include "settings/ProgramFolder.h"
#include "skin/AppContext.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPushButton>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace vantrel;

namespace {

// Tells the parent about the first paint of the watched window.
class FirstPaint final : public QObject {
public:
    explicit FirstPaint(int fd) : m_fd(fd) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && m_fd >= 0) {
            const char done = 1;
            (void)!::write(m_fd, &done, 1);
            m_fd = -1;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int m_fd;
};

int runChild(const std::string& mode, int fd) {
    // The program's own start, as its main does it.
    std::optional<std::string> runtimeDir;
    std::unique_ptr<SingleInstance> instance;
    if (mode == "program") {
        runtimeDir = RuntimeDirectory::locate();
        instance = std::make_unique<SingleInstance>(runtimeDir);
    }
    int argc = 1;
    char name[] = "startup_bench";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    FirstPaint watcher(fd);
    if (mode == "program") {
        AppContext context(ProgramFolder::locate(), runtimeDir);
        MonitorLink link(runtimeDir);
        MainWindow window(context, link);
        window.installEventFilter(&watcher);
        window.show();
        return application.exec();
    }
    QDialog dialog;
    QPushButton button(QStringLiteral("OK"), &dialog);
    dialog.resize(1260, 596);
    dialog.installEventFilter(&watcher);
    dialog.show();
    return application.exec();
}

// The peak resident memory of process pid so far, in megabytes; 0 when unknown.
double peakMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

void startUp(benchmark::State& state, const char* mode) {
    char pattern[] = "/tmp/vantrel-startup-XXXXXX";
    const std::string runtime = ::mkdtemp(pattern);
    const std::string variables[] = {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + runtime};
    char* env[] = {const_cast<char*>(variables[0].c_str()), const_cast<char*>(variables[1].c_str()),
                   nullptr};
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    double peakSum = 0;
    for (auto _ : state) {
        int fds[2];
        if (::pipe(fds) != 0) {
            state.SkipWithError("no pipe");
            break;
        }
        const std::string fd = std::to_string(fds[1]);
        char* argv[] = {const_cast<char*>(self.c_str()), const_cast<char*>("--child"),
                        const_cast<char*>(mode), const_cast<char*>(fd.c_str()), nullptr};
        const auto start = std::chrono::steady_clock::now();
        pid_t pid = -1;
        ::posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv, env);
        ::close(fds[1]);
        char byte = 0;
        const bool painted = ::read(fds[0], &byte, 1) == 1;
        const auto painted_at = std::chrono::steady_clock::now();
        peakSum += painted ? peakMegabytes(pid) : 0;
        ::close(fds[0]);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        if (!painted) {
            state.SkipWithError("the child never painted");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(painted_at - start).count());
    }
    state.counters["peak_MB"] = benchmark::Counter(peakSum, benchmark::Counter::kAvgIterations);
    std::filesystem::remove_all(runtime);
}

void BM_startUpToFirstPaint(benchmark::State& state) {
    startUp(state, "program");
}
BENCHMARK(BM_startUpToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_bareDialogToFirstPaint(benchmark::State& state) {
    startUp(state, "bare");
}
BENCHMARK(BM_bareDialogToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argv[2], std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
