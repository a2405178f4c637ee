// Reading a large text-heavy PostScript page: LoadPage throughput and peak memory,
// against a bare line scan of the same file.
#include "bench/LargePsPage.h"
#include "bench/PeakMemory.h"
#include "platform/Files.h"
#include "psreader/PSParser.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

namespace kestrum {
namespace {

using bench::LargePage;
using bench::Page;
using bench::PeakMemoryBytes;

// LoadPage reads the body (ParsePage) and turns the records into host blocks;
// the second benchmark times the reading alone.
void LoadPage(benchmark::State& state, bool whole) {
    const LargePage& page = Page();
    size_t blocks = 0;
    for (auto _ : state) {
        CPSParser reader;
        reader.Open(page.path);
        if (whole) reader.LoadPage();
        else reader.ParsePage();
        blocks = reader.m_arrBlocks.size();
        benchmark::DoNotOptimize(blocks);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes.size()));
    state.counters["blocks"] = static_cast<double>(blocks);
    state.counters["file_MB"] = static_cast<double>(page.bytes.size()) / (1 << 20);
    state.counters["peak_MB"] = PeakMemoryBytes() / (1 << 20);
    state.counters["peak_per_file"] = PeakMemoryBytes() / static_cast<double>(page.bytes.size());
}
void BM_LoadPage(benchmark::State& state) { LoadPage(state, true); }
void BM_ParsePage(benchmark::State& state) { LoadPage(state, false); }
// Wall time: LoadPage reads a large page's text on more than one thread.
BENCHMARK(BM_LoadPage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ParsePage)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LineScan(benchmark::State& state) {
    const LargePage& page = Page();
    for (auto _ : state) {
        FileContents file;
        file.Open(page.path);
        size_t lines = 0;
        const unsigned char* p = file.Data();
        const unsigned char* end = p + file.Size();
        while (p < end) {
            const void* feed = std::memchr(p, '\n', static_cast<size_t>(end - p));
            p = feed ? static_cast<const unsigned char*>(feed) + 1 : end;
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.bytes.size()));
}
BENCHMARK(BM_LineScan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrum
