// The main of the window benchmarks: offscreen unless told otherwise.
#include "bench/UiBench.h"

#include "settings/ProgramFolder.h"
#include "skin/AppContext.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

namespace vantrel::bench {

AppContext& context() {
    static AppContext c(ProgramFolder::locate(), std::nullopt);
    return c;
}

} // namespace vantrel::bench

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
