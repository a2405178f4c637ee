#include "Output.h"

#include <cstdio>

bool WriteOutput(const std::string& path, std::string_view bytes, std::string& error) {
    if (path.empty() || path == "-") {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0) return true;
        error = "cannot write the standard output";
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0) written = false;
    if (written) return true;
    // A half-written file would pass for a finished one.
    if (f) std::remove(path.c_str());
    error = "cannot write " + path;
    return false;
}
