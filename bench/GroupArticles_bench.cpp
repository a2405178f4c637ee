// Grouping a generated page of many articles: how the time grows with the blocks.
#include "layout/LayoutCodes.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "s2reader/S2Parser.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace kestrum {
namespace {

// One article: a title over five body columns, a picture beside them and its caption.
constexpr int kBlocksPerArticle = 8;
constexpr int kColumns = 5;
constexpr int kArticlesPerRow = 10;
constexpr int32_t kCellWidth = 4000, kCellHeight = 3000;  // page units
constexpr double kMeanTextSize = 110.0;
constexpr const char* kTitleText = "\xB1\xEA\xCC\xE2";  // 标题

void AddText(CS2Parser& reader, Rect rect, int32_t kind, double size, const char* text) {
    auto block = std::make_unique<CTextBlock>(reader.m_pPageInfo.get());
    block->m_rect = rect;
    block->m_nKind = kind;
    block->m_dFontSize = size;
    block->m_nLayout = kLayoutLeftToRight;
    block->m_strText = text;
    reader.m_arrTextBlocks.Add(block.release());
}

void FillPage(CS2Parser& reader, int blocks) {
    const int articles = blocks / kBlocksPerArticle;
    const int rows = (articles + kArticlesPerRow - 1) / kArticlesPerRow;
    reader.m_dPageWidth = reader.m_pPageInfo->m_dWidth = double(kCellWidth) * kArticlesPerRow;
    reader.m_dPageHeight = reader.m_pPageInfo->m_dHeight = double(kCellHeight) * rows;
    reader.m_pPageInfo->m_dMeanTextSize = kMeanTextSize;
    for (int i = 0; i < articles; ++i) {
        const int32_t x = i % kArticlesPerRow * kCellWidth, y = i / kArticlesPerRow * kCellHeight;
        AddText(reader, MakeRect(x + 100, y + 100, x + 3700, y + 400), kTextTitle, 300, kTitleText);
        for (int32_t k = 0; k < kColumns; ++k)
            AddText(reader, MakeRect(x + 100 + k * 600, y + 600, x + 600 + k * 600, y + 2400), kTextBody, 100,
                    "\xD5\xFD\xCE\xC4\xD5\xFD\xCE\xC4");
        auto pic = std::make_unique<CPicBlock>(reader.m_pPageInfo.get());
        pic->m_rect = MakeRect(x + 3100, y + 600, x + 3600, y + 1400);
        pic->m_strName = "PIC";
        reader.m_arrPicBlocks.Add(pic.release());
        AddText(reader, MakeRect(x + 3100, y + 1420, x + 3500, y + 1500), kTextBody, 80, "\xCD\xBC");
    }
}

// Title lines of six sizes in turn, all on one spot: every group takes in all the
// lines left, and its subtitle gives most of them back.
void FillHostileTitles(CS2Parser& reader, int blocks) {
    reader.m_dPageWidth = reader.m_pPageInfo->m_dWidth = kCellWidth;
    reader.m_dPageHeight = reader.m_pPageInfo->m_dHeight = kCellHeight;
    reader.m_pPageInfo->m_dMeanTextSize = kMeanTextSize;
    for (int i = 0; i < blocks; ++i)
        AddText(reader, MakeRect(100, 100, 3700, 400), kTextTitle, 300 + 10 * (i % 6), kTitleText);
}

void BM_Group(benchmark::State& state, void (*fill)(CS2Parser&, int)) {
    const int blocks = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        CS2Parser reader;
        fill(reader, blocks);
        state.ResumeTiming();
        reader.GroupArticles();
        state.PauseTiming();
        reader.DeletePageObjects();
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK_CAPTURE(BM_Group, articles, FillPage)->Arg(500)->Arg(1000)->Arg(2000)->Arg(4000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK_CAPTURE(BM_Group, hostile_titles, FillHostileTitles)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
}  // namespace kestrum
