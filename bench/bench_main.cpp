// The benchmark program's main: loads the double-byte code tables the way every program of
// the product does at start, then runs the benchmarks chosen on the command line.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "charset/dbcs_tables.h"

int main(int argc, char** argv) {
    if (auto problem = typeloom::loadProgramDbcsTables()) {
        std::fprintf(stderr, "typeloom_bench: %s\n", problem->c_str());
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
