// The whole `kestrum dump` of the large page as a user runs it, a process started
// and waited for, beside the library's own share of it: Open, LoadPage and every
// block's text read once.
#include "bench/LargePsPage.h"
#include "host/ComHandles.h"
#include "host/HostSettings.h"
#include "host/Utf.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <string>

extern char** environ;

namespace kestrum {
namespace {

void BM_DumpLibrary(benchmark::State& state) {
    const std::string& path = bench::Page().path;
    const std::u16string widePath = ToUtf16(path);
    HostSettings settings{PageOptions{}};
    size_t textBytes = 0;
    for (auto _ : state) {
        IClassFactory* factory = nullptr;
        IDataAdaptor* adaptor = nullptr;
        DllGetClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, reinterpret_cast<void**>(&factory));
        factory->CreateInstance(nullptr, IID_IDataAdaptor, reinterpret_cast<void**>(&adaptor));
        factory->Release();
        adaptor->Open(reinterpret_cast<ULONG_PTR>(static_cast<IAppExt*>(&settings)), widePath.c_str());
        adaptor->LoadPage(1, 0, 0);
        textBytes = 0;
        {
            OwnedList texts;
            adaptor->GetTextList(nullptr, 0, texts.Out());
            for (ITextBlock* block : texts.Items<ITextBlock>()) {
                OwnedBstr text;
                block->GetText(text.Out());
                textBytes += SysStringLen(*text.Out());
            }
        }
        adaptor->Close();
        adaptor->Release();
    }
    state.counters["text_units"] = static_cast<double>(textBytes);
}
BENCHMARK(BM_DumpLibrary)->Unit(benchmark::kMillisecond)->UseRealTime();

// Wall time of the process, output to /dev/null so the figure is the program's own.
void BM_DumpProcess(benchmark::State& state) {
    const std::string page = bench::Page().path;
    char* argv[] = {const_cast<char*>(KESTRUM_CLI_PATH), const_cast<char*>("dump"), const_cast<char*>(page.c_str()),
                    const_cast<char*>("-o"), const_cast<char*>("/dev/null"), nullptr};
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("kestrum dump failed");
            break;
        }
    }
}
BENCHMARK(BM_DumpProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace kestrum
