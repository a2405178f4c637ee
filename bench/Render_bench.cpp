// The page proof of a dense page: drawing the records of the large page, about a
// million characters, into the page's bitmap. Characters per second of wall time
// is the figure; the CPU column is the whole process's, glyphs being blended on
// every core.
#include "bench/LargePsPage.h"
#include "platform/Draw.h"
#include "psreader/PSParser.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace kestrum {
namespace {

void BM_DrawDensePage(benchmark::State& state) {
    CPSParser reader;
    reader.Open(bench::Page().path);
    reader.ParsePage();
    size_t chars = 0;
    for (const CBaseBlock& block : reader.m_arrBlocks)
        if (block.m_nKind != kBlockRuleOrBox && block.m_nKind != kBlockPicture) chars += block.m_arrChars.size();
    const auto width = static_cast<int32_t>(std::fabs(reader.m_dPageWidth * 72 / 7420 * reader.m_fRenderScale));
    const auto height = static_cast<int32_t>(std::fabs(reader.m_dPageHeight * 72 / 7420 * reader.m_fRenderScale));
    DrawBitmap bitmap(width, height);
    for (auto _ : state) {
        DrawContext dc(bitmap);
        dc.SetPrinting(true);
        reader.DrawPage(dc);
    }
    state.counters["chars"] = static_cast<double>(chars);
    state.counters["chars_per_s"] =
        benchmark::Counter(static_cast<double>(chars) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawDensePage)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

}  // namespace
}  // namespace kestrum
