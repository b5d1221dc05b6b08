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

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

// Where the children run: their own runtime folder, offscreen.
class Children final {
public:
    Children() : m_self(std::filesystem::read_symlink("/proc/self/exe").string()) {
        char pattern[] = "/tmp/vantrel-startup-XXXXXX";
        m_runtime = ::mkdtemp(pattern);
        m_variables = {"QT_QPA_PLATFORM=offscreen", "XDG_RUNTIME_DIR=" + m_runtime};
    }
    ~Children() { std::filesystem::remove_all(m_runtime); }

    struct StartUp {
        double seconds;
        double peakMegabytes;
    };
    // One start of a child in mode to its first paint; nothing when it never paints.
    std::optional<StartUp> start(const char* mode) const {
        int fds[2];
        if (::pipe(fds) != 0)
            return std::nullopt;
        const std::string fd = std::to_string(fds[1]);
        char* argv[] = {const_cast<char*>(m_self.c_str()), const_cast<char*>("--child"),
                        const_cast<char*>(mode), const_cast<char*>(fd.c_str()), nullptr};
        char* env[] = {const_cast<char*>(m_variables[0].c_str()),
                       const_cast<char*>(m_variables[1].c_str()), nullptr};
        const auto started = std::chrono::steady_clock::now();
        pid_t pid = -1;
        ::posix_spawn(&pid, m_self.c_str(), nullptr, nullptr, argv, env);
        ::close(fds[1]);
        char byte = 0;
        const bool painted = ::read(fds[0], &byte, 1) == 1;
        const auto paintedAt = std::chrono::steady_clock::now();
        const double peak = painted ? peakMegabytes(pid) : 0;
        ::close(fds[0]);
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        if (!painted)
            return std::nullopt;
        return StartUp{std::chrono::duration<double>(paintedAt - started).count(), peak};
    }

private:
    std::string m_self;
    std::string m_runtime;
    std::array<std::string, 2> m_variables;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (values[(n - 1) / 2] + values[n / 2]) / 2;
}

void startUp(benchmark::State& state, const char* mode) {
    const Children children;
    double peakSum = 0;
    for (auto _ : state) {
        const std::optional<Children::StartUp> run = children.start(mode);
        if (!run) {
            state.SkipWithError("the child never painted");
            break;
        }
        peakSum += run->peakMegabytes;
        state.SetIterationTime(run->seconds);
    }
    state.counters["peak_MB"] = benchmark::Counter(peakSum, benchmark::Counter::kAvgIterations);
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

// The program and the bare dialog started by turns, so that other work on a
// shared machine weighs on both alike; the time is the program's, and the
// counters give both medians and their ratio.
void BM_startUpAgainstBareDialog(benchmark::State& state) {
    const Children children;
    std::vector<double> program;
    std::vector<double> bare;
    for (auto _ : state) {
        const std::optional<Children::StartUp> ours = children.start("program");
        const std::optional<Children::StartUp> theirs = children.start("bare");
        if (!ours || !theirs) {
            state.SkipWithError("a child never painted");
            break;
        }
        program.push_back(ours->seconds * 1000);
        bare.push_back(theirs->seconds * 1000);
        state.SetIterationTime(ours->seconds);
    }
    state.counters["program_ms"] = median(program);
    state.counters["bare_ms"] = median(bare);
    state.counters["ratio"] = median(bare) > 0 ? median(program) / median(bare) : 0;
}
BENCHMARK(BM_startUpAgainstBareDialog)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(25);

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argv[2], std::atoi(argv[3]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
