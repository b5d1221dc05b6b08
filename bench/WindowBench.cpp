// The main window's pages as a user feels them: building the keyboard page,
// redrawing the 128 keys' tooltips and looks, a profile switch up to the next
// paint, and an effect switch up to the first paint of the new lighting page,
// built on first show. Offscreen, in the program folder of the build.
#include "app/MainWindow.h"
#include "bench/UiBench.h"
#include "keys/KeyAssignmentPage.h"
#include "lighting/EffectTable.h"
#include "lighting/LightingPage.h"
#include "link/MonitorLink.h"
#include "settings/ProfileDefaults.h"
#include "skin/AppContext.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>

using namespace vantrel;
using vantrel::bench::context;

namespace {

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

// Notes the first paint of the main window's visible lighting page.
class PagePainted final : public QObject {
public:
    explicit PagePainted(const MainWindow& window) : m_window(window) {}
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched == m_window.visibleLightingPage())
            painted = true;
        return false;
    }

private:
    const MainWindow& m_window;
};

// Each switch goes to a page not yet built, in a fresh main window.
void BM_switchEffectToFirstPaint(benchmark::State& state) {
    MonitorLink link(std::nullopt);
    size_t next = 1;
    for (auto _ : state) {
        state.PauseTiming();
        resetAllProfiles(context().editedSettings(), context().strings());
        auto window = std::make_unique<MainWindow>(context(), link);
        window->show();
        QApplication::processEvents();
        PagePainted watcher(*window);
        qApp->installEventFilter(&watcher);
        const int32_t effect = EffectTable::pages()[next].effect;
        next = next % (EffectTable::pages().size() - 1) + 1;
        state.ResumeTiming();
        window->setEffect(effect);
        while (!watcher.painted)
            QApplication::processEvents();
        state.PauseTiming();
        qApp->removeEventFilter(&watcher);
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_switchEffectToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(34);

} // namespace
