// Writing the large PostScript page in each export format, beside the load that
// reads it through the interfaces into the page document (the writers' input).
#include "bench/LargePsPage.h"
#include "host/AltoExport.h"
#include "host/JsonExport.h"
#include "host/PageSession.h"
#include "host/PageXmlExport.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace kestrum {
namespace {

std::unique_ptr<PageSession> OpenLargePage() {
    PageOptions options;
    options.file = bench::Page().path;
    std::string error;
    return PageSession::Open(options, error);
}

void BM_ExportLoad(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<PageSession> session = OpenLargePage();
        benchmark::DoNotOptimize(session);
    }
}
BENCHMARK(BM_ExportLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

template <class Write>
void Export(benchmark::State& state, Write write) {
    static const std::unique_ptr<PageSession> session = OpenLargePage();
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string out = write(session->Doc());
        bytes = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["out_MB"] = double(bytes) / (1 << 20);
}
void BM_ExportJson(benchmark::State& state) { Export(state, [](const PageDoc& d) { return PageJson(d); }); }
void BM_ExportPage(benchmark::State& state) { Export(state, [](const PageDoc& d) { return PageXml(d, ""); }); }
void BM_ExportAlto(benchmark::State& state) { Export(state, [](const PageDoc& d) { return AltoXml(d, ""); }); }
void BM_ExportMets(benchmark::State& state) { Export(state, [](const PageDoc& d) { return MetsXml(d, "page.alto.xml"); }); }
BENCHMARK(BM_ExportJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportAlto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportMets)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrum
