// Resident memory of the benchmark process. The process's peak only grows, so a
// figure for one step resets the peak first and counts from what was resident then.
#pragma once

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kestrum::bench {

inline double PeakMemoryBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

// A field of /proc/self/status in bytes ("VmRSS", "VmHWM"); 0 when it cannot be read.
inline double StatusBytes(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0.0;
    char line[256];
    double kib = 0.0;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f)) {
        if (std::strncmp(line, field, n) == 0 && line[n] == ':') {
            kib = std::atof(line + n + 1);
            break;
        }
    }
    std::fclose(f);
    return kib * 1024.0;
}

// The resident peak that `step` adds to what is resident before it: the kernel's
// peak is reset to the current size first.
template <class Step>
double PeakOf(Step&& step) {
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
    const double before = StatusBytes("VmRSS");
    step();
    return StatusBytes("VmHWM") - before;
}

}  // namespace kestrum::bench
