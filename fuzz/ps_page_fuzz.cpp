// Any bytes as a PostScript page, read through the interfaces.
#include "fuzz/FuzzHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return kestrum::fuzz::ReadPage(data, size, ".ps", false);
}
