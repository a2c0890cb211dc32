// Benchmarks of the game's own work, each run in a temporary game folder with the asset
// pack linked in and an X display for the drawing context. Figures that need a whole
// process of their own (start-up, memory, frames on the real window) are measured by
// mirevo_drive; scripts/bench.sh runs everything and prints the table.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_support.h"

int main(int argc, char** argv) {
    if (std::getenv("ALSOFT_DRIVERS") == nullptr) setenv("ALSOFT_DRIVERS", "null", 1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    BenchFolder folder;
    if (!folder.ok()) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
