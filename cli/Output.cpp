#include "Output.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A device, FIFO or symbolic link is written through as it is: renaming over it would
// replace what the host set there.
bool ReplacedWhole(const std::string& path) {
    struct stat st;
    if (lstat(path.c_str(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

}  // namespace

std::string TemporaryNameOf(const std::string& path, pid_t writer) {
    size_t slash = path.find_last_of('/');
    size_t base = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, base) + "." + path.substr(base) + ".tmp-" + std::to_string(writer);
}

bool WriteOutput(const std::string& path, std::string_view bytes, std::string& error) {
    if (path.empty() || path == "-") {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0) return true;
        error = "cannot write the standard output";
        return false;
    }
    bool replace = ReplacedWhole(path);
    std::string target = replace ? TemporaryNameOf(path, getpid()) : path;
    std::FILE* f = std::fopen(target.c_str(), "wb");
    bool written = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0) written = false;
    if (written && replace) written = std::rename(target.c_str(), path.c_str()) == 0;
    if (written) return true;
    if (f && replace) std::remove(target.c_str());
    error = "cannot write " + path;
    return false;
}
