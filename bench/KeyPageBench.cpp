// The keyboard page as a user feels it: building it, redrawing the 128 keys'
// tooltips and looks, and a profile switch on the main window up to its next
// paint. Offscreen, in the program folder of the build.
#include "app/MainWindow.h"
#include "keys/KeyAssignmentPage.h"
#include "link/MonitorLink.h"
#include "settings/ProfileDefaults.h"
#include "settings/ProgramFolder.h"
#include "skin/AppContext.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>

#include <cstdlib>

using namespace vantrel;

namespace {

AppContext& context() {
    static AppContext c(ProgramFolder::locate(), std::nullopt);
    return c;
}

// Every key with a function of its own, so that every tooltip has text.
void assignAll(SharedBlock& settings) {
    for (ProfileRecord& p : settings.profiles) {
        for (int k = 0; k < kKeyPositions; ++k)
            p.MacroKeyInfo[k].assignType = static_cast<uint8_t>(k % 2 ? 33 : 64);
    }
}

void BM_buildKeyPage(benchmark::State& state) {
    for (auto _ : state) {
        KeyAssignmentPage page(context(), nullptr);
        benchmark::DoNotOptimize(&page);
    }
}
BENCHMARK(BM_buildKeyPage)->Unit(benchmark::kMillisecond);

void BM_refreshKeyLabels(benchmark::State& state) {
    resetAllProfiles(context().editedSettings(), context().strings());
    assignAll(context().editedSettings());
    KeyAssignmentPage page(context(), nullptr);
    for (auto _ : state)
        page.refreshKeyLabels();
}
BENCHMARK(BM_refreshKeyLabels)->Unit(benchmark::kMicrosecond);

// Notes the main window's paints.
class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

void BM_selectProfileToPaint(benchmark::State& state) {
    MonitorLink link(std::nullopt);
    MainWindow window(context(), link);
    assignAll(context().editedSettings());
    window.show();
    QApplication::processEvents();
    PaintCounter counter;
    window.installEventFilter(&counter);
    int n = 0;
    for (auto _ : state) {
        const int before = counter.paints;
        window.selectProfile(++n % kProfileCount);
        while (counter.paints == before)
            QApplication::processEvents();
    }
}
BENCHMARK(BM_selectProfileToPaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
