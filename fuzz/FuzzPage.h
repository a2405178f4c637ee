// Shared by the fuzzers: the input written to a page file of the given extension.
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

}  // namespace kestrum::fuzz
