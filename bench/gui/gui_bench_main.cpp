// The painting benchmarks' main: an offscreen QApplication and the double-byte code tables, as
// the desktop program starts, then the benchmarks chosen on the command line.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>

#include "charset/dbcs_tables.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (auto problem = typeloom::loadProgramDbcsTables()) {
        std::fprintf(stderr, "typeloom_gui_bench: %s\n", problem->c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
