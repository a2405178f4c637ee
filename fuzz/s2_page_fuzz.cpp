// Any bytes as an S2 page: Open, LoadPage and ClearPage must neither crash, hang nor
// read outside the mapped words.
#include "fuzz/FuzzPage.h"
#include "s2reader/S2Parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = kestrum::fuzz::WritePage(data, size, ".s2");
    kestrum::CS2Parser reader;
    if (reader.Open(path)) reader.LoadPage();
    reader.ClearPage();
    return 0;
}
