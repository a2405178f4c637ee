// The benchmarks' program; `--write-large-page PATH` writes the large page to a file
// instead, for timing the command line on it from outside.
#include "bench/LargePsPage.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-large-page") == 0) {
        std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
        out << kestrum::bench::MakeLargePage();
        if (out.flush()) return 0;
        std::fprintf(stderr, "kestrum_bench: cannot write %s\n", argv[2]);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
