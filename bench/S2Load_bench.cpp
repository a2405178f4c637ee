// Reading a large S2 page of one million stream words: decoding the stream, building
// the blocks and one article per block, in words per second, with peak memory.
#include "bench/PeakMemory.h"
#include "s2reader/S2Parser.h"
#include "tests/support/S2Writer.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <string>

namespace kestrum {
namespace {

using testing::S2Writer;

constexpr size_t kTargetWords = 1000000;

// A dense news page: articles of a title line and three columns of forty lines, a
// picture record and a rule between them, until the stream holds a million words.
std::string MakeLargePage() {
    static const char* kChars = "\xB0\xA1\xB0\xA2\xB0\xA3\xB0\xA4\xB0\xA5\xB0\xA6\xB0\xA7\xB0\xA8\xB0\xA9\xB0\xAA";
    std::string line;
    for (int i = 0; i < 2; ++i) line += kChars;  // 20 characters
    S2Writer page;
    page.ShortHeader(30000, 30000);
    for (int article = 0; page.WordCount() < kTargetWords; ++article) {
        const int16_t top = int16_t(1000 + (article % 4) * 7000);
        const uint16_t left = uint16_t(1000 + (article / 4 % 4) * 7000);
        page.TextBlock(left, top, 12, {line});
        for (int column = 0; column < 3; ++column) {
            std::vector<std::string> lines(40, line);
            page.TextBlock(uint16_t(left + column * 2100), int16_t(top + 400), 4, lines, 110);
        }
        page.Picture(left, uint16_t(top + 5000), 1500, 1000, "P" + std::to_string(article % 1000));
        page.Rule(0x8006, left, uint16_t(top + 6000), uint16_t(left + 6000), uint16_t(top + 6000), {0xFFFF, 0});
    }
    return page.Data();
}

struct LargePage {
    LargePage() : bytes(MakeLargePage()), path(dir.Write("large.s2", bytes)) {}
    testing::TempDir dir;
    std::string bytes;
    std::string path;
};

const LargePage& Page() {
    static LargePage page;
    return page;
}

void BM_S2LoadPage(benchmark::State& state) {
    const LargePage& page = Page();
    size_t articles = 0;
    for (auto _ : state) {
        CS2Parser reader;
        reader.Open(page.path);
        reader.LoadPage();
        articles = size_t(reader.m_pArticles->GetSize());
        benchmark::DoNotOptimize(articles);
    }
    const double words = double(page.bytes.size() / 4);
    state.SetItemsProcessed(int64_t(state.iterations() * (page.bytes.size() / 4)));
    state.counters["words"] = words;
    state.counters["articles"] = double(articles);
    state.counters["file_MB"] = double(page.bytes.size()) / (1 << 20);
    // What one load holds at its peak: the mapped file, the text buffer, items and blocks.
    const double peak = bench::PeakOf([&] {
        CS2Parser reader;
        reader.Open(page.path);
        reader.LoadPage();
    });
    state.counters["load_peak_MB"] = peak / (1 << 20);
    state.counters["load_peak_per_file"] = peak / double(page.bytes.size());
}
BENCHMARK(BM_S2LoadPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrum
