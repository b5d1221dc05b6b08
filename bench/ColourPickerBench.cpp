// A drag across the colour picker as a user feels it: the time per mouse move,
// with and without the repaint it asks for. Offscreen, with the program's
// own spectrum and marker.
#include "lighting/ColourPicker.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>

using namespace vantrel;

namespace {

// A picker on a shown window, held by the left button at the area's left edge.
struct HeldPicker {
    HeldPicker() {
        window.resize(272, 96);
        picker = new ColourPicker(QRect(10, 10, 252, 76), &window);
        window.show();
        QApplication::processEvents();
        send(QEvent::MouseButtonPress, QPoint(6, 40), Qt::LeftButton);
    }
    void send(QEvent::Type type, QPoint at, Qt::MouseButton button) {
        QMouseEvent event(type, at, picker->mapToGlobal(at), button, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(picker, &event);
    }
    // The n-th point of a sweep to and fro across the area, a little lower each time.
    static QPoint sweep(int n) {
        const int x = n % 480;
        return {6 + (x < 240 ? x : 479 - x), 6 + (n / 480) % 64};
    }

    QWidget window;
    ColourPicker* picker = nullptr;
};

void BM_dragMove(benchmark::State& state) {
    HeldPicker held;
    int n = 0;
    for (auto _ : state)
        held.send(QEvent::MouseMove, HeldPicker::sweep(n++), Qt::NoButton);
    benchmark::DoNotOptimize(held.picker->colour());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_dragMove)->Unit(benchmark::kMicrosecond);

void BM_dragMoveAndRepaint(benchmark::State& state) {
    HeldPicker held;
    int n = 0;
    for (auto _ : state) {
        held.send(QEvent::MouseMove, HeldPicker::sweep(n++), Qt::NoButton);
        QApplication::processEvents();
    }
    benchmark::DoNotOptimize(held.picker->colour());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_dragMoveAndRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
