// Any bytes as a PostScript page.
#include "fuzz/FuzzPage.h"
#include "psreader/PSParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kestrum::fuzz::ReadPage<kestrum::CPSParser>(data, size, ".ps");
}
