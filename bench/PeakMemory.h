// Resident memory of the benchmark process.
#pragma once

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kestrum::bench {

// The process's peak so far; it only grows.
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

// The resident peak that `step` adds to what is resident before it, measured in a
// child process: there large blocks come fresh from the system (not from memory an
// earlier step freed) and the kernel's peak starts at the child's current size.
template <class Step>
double PeakOf(Step&& step) {
    int channel[2];
    if (::pipe(channel) != 0) return 0.0;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        mallopt(M_TRIM_THRESHOLD, 128 * 1024);
        malloc_trim(0);
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        const double before = StatusBytes("VmRSS");
        step();
        const double added = StatusBytes("VmHWM") - before;
        [[maybe_unused]] ssize_t written = ::write(channel[1], &added, sizeof added);
        ::_exit(0);
    }
    ::close(channel[1]);
    double added = 0.0;
    if (child < 0 || ::read(channel[0], &added, sizeof added) != ssize_t(sizeof added)) added = 0.0;
    ::close(channel[0]);
    if (child > 0) ::waitpid(child, nullptr, 0);
    return added;
}

}  // namespace kestrum::bench
