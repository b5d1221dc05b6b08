// The macro manager as a user feels it: opening it over 500 stored macros up
// to its first paint, and rebuilding the event list of a full macro of 50
// events with a pause after each. Offscreen, in the program folder of the build.
#include "bench/UiBench.h"
#include "macro/Clock.h"
#include "macro/MacroEventList.h"
#include "macro/MacroListBox.h"
#include "macro/MacroManagerDialog.h"
#include "settings/TextField.h"
#include "skin/AppContext.h"
#include "skin/ControlIds.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>

#include <string>

using namespace vantrel;
using vantrel::bench::context;

namespace {

MacroRecord fullMacro(int n) {
    MacroRecord macro{};
    copyToField(macro.name, "Macro " + std::to_string(n));
    macro.repeatCount = 3;
    macro.eventCount = kMacroEventSlots;
    for (int i = 0; i < kMacroEventSlots; ++i)
        macro.events[i] = {static_cast<uint8_t>(4 + i % 26), static_cast<uint8_t>(1 + i % 2),
                           static_cast<uint16_t>(10 + i)};
    return macro;
}

// Notes the first paint of a widget.
class Painted final : public QObject {
public:
    explicit Painted(const QWidget* widget) : m_widget(widget) {}
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched == m_widget)
            painted = true;
        return false;
    }

private:
    const QWidget* m_widget;
};

void BM_openManagerToFirstPaint(benchmark::State& state) {
    MacroStore& store = context().macroStore();
    store.clearMacroStore();
    for (int i = 0; i < state.range(0); ++i)
        store.appendMacro(fullMacro(i));
    const SteadyClock clock;
    for (auto _ : state) {
        MacroManagerDialog dialog(context(), clock, nullptr);
        const auto* list = dialog.findChild<MacroListBox*>(QStringLiteral("eventList"));
        Painted watcher(list->viewport());
        qApp->installEventFilter(&watcher);
        dialog.show();
        while (!watcher.painted)
            QApplication::processEvents();
        qApp->removeEventFilter(&watcher);
        state.PauseTiming();
        dialog.hide();
        state.ResumeTiming();
    }
    store.clearMacroStore();
}
BENCHMARK(BM_openManagerToFirstPaint)->Arg(500)->Unit(benchmark::kMillisecond);

// The rows alone, and the rows put into a shown list and painted.
void BM_rebuildRows(benchmark::State& state) {
    const MacroRecord macro = fullMacro(0);
    for (auto _ : state)
        benchmark::DoNotOptimize(MacroEventList::rebuild(macro, 25, context().keyboardLayout()));
}
BENCHMARK(BM_rebuildRows)->Unit(benchmark::kMicrosecond);

void BM_rebuildEventList(benchmark::State& state) {
    const MacroRecord macro = fullMacro(0);
    MacroListBox list(ControlIds::kEventList, nullptr);
    list.resize(382, 208);
    list.show();
    QApplication::processEvents();
    for (auto _ : state) {
        list.setRows(MacroEventList::rebuild(macro, 25, context().keyboardLayout()));
        list.viewport()->repaint();
    }
}
BENCHMARK(BM_rebuildEventList)->Unit(benchmark::kMicrosecond);

} // namespace
