// Shared by the fuzzers: any bytes as a page file of one reader's kind. Open, LoadPage
// and ClearPage must neither crash, hang nor read outside the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace kestrum::fuzz {

inline std::string WritePage(const uint8_t* data, size_t size, const char* extension) {
    static const std::string path = "/tmp/kestrum-fuzz-" + std::to_string(getpid()) + extension;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return {};
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    return path;
}

template <class Reader>
int ReadPage(const uint8_t* data, size_t size, const char* extension) {
    std::string path = WritePage(data, size, extension);
    Reader reader;
    if (reader.Open(path)) reader.LoadPage();
    reader.ClearPage();
    return 0;
}

}  // namespace kestrum::fuzz
