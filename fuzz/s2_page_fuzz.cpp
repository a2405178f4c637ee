// Any bytes as an S2 page.
#include "fuzz/FuzzPage.h"
#include "s2reader/S2Parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kestrum::fuzz::ReadPage<kestrum::CS2Parser>(data, size, ".s2");
}
