// Title joining and the text orders on a page of many blocks.
#include "layout/SortOrders.h"
#include "model/TextBlock.h"
#include "psreader/PSParser.h"

#include <benchmark/benchmark.h>

namespace kestrum {
namespace {

constexpr int32_t kLineHeight = 30;

// `count` title lines; `perTitle` consecutive lines of one article stand one under
// the other, close enough to join; titles are spread down the page.
void FillTitles(CPSParser& reader, int count, int perTitle, bool stacked) {
    for (int32_t i = 0; i < count; ++i) {
        auto* b = new CTextBlock(reader.m_pPageInfo.get());
        b->m_nKind = kTextTitle;
        b->m_nID = i;
        b->m_nArticle = i / perTitle;
        b->m_dFontSize = kLineHeight;
        const int32_t top = i * (stacked ? kLineHeight + 5 : kLineHeight * 3);
        b->m_rect = MakeRect(0, top, 4000, top + kLineHeight);
        b->m_strText = "\xB1\xEA\xCC\xE2";  // 标题
        reader.m_arrTextBlocks.Add(b);
    }
}

void BM_JoinTitleLines(benchmark::State& state, int perTitle, bool stacked) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CPSParser reader;
        FillTitles(reader, count, perTitle, stacked);
        state.ResumeTiming();
        benchmark::DoNotOptimize(reader.JoinTitleLines());
        state.PauseTiming();
        reader.ClearPage();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

void BM_SortText(benchmark::State& state, int mode) {
    const int count = static_cast<int>(state.range(0));
    CPSParser reader;
    FillTitles(reader, count, 3, false);
    for (CTextBlock* b : reader.m_arrTextBlocks) b->m_rect.left = (b->m_nID * 7919) % 20000;
    for (auto _ : state) {
        state.PauseTiming();
        CTextBlockArray list;
        list.Items() = reader.m_arrTextBlocks.Items();
        state.ResumeTiming();
        SortTextBlocks(list, mode);
        state.PauseTiming();
        list.RemoveAll();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK_CAPTURE(BM_JoinTitleLines, three_line_titles, 3, true)->RangeMultiplier(2)->Range(625, 5000)->Complexity();
BENCHMARK_CAPTURE(BM_JoinTitleLines, one_article_no_joins, 1 << 30, false)->RangeMultiplier(2)->Range(625, 5000)->Complexity();
BENCHMARK_CAPTURE(BM_SortText, rows, kTextByRows)->RangeMultiplier(2)->Range(625, 5000)->Complexity();
BENCHMARK_CAPTURE(BM_SortText, column_reading, kTextColumnReading)->RangeMultiplier(2)->Range(625, 5000)->Complexity();
BENCHMARK_CAPTURE(BM_SortText, no_order, 3)->RangeMultiplier(2)->Range(625, 5000)->Complexity();

}  // namespace
}  // namespace kestrum
