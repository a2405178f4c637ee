// Any bytes as an S2 page, read through the interfaces; the input's last byte picks
// whether the page's blocks are grouped into articles.
#include "fuzz/FuzzHost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool group = size > 0 && (data[size - 1] & 1);
    return kestrum::fuzz::ReadPage(data, size, ".s2", group);
}
