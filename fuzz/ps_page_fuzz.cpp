// Any bytes as a PostScript page: Open, LoadPage and ClearPage must neither crash,
// hang nor read outside the file.
#include "fuzz/FuzzPage.h"
#include "psreader/PSParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string path = kestrum::fuzz::WritePage(data, size, ".ps");
    kestrum::CPSParser reader;
    if (reader.Open(path)) reader.LoadPage();
    reader.ClearPage();
    return 0;
}
