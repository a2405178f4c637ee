// What a batch shows on stderr while it runs: on a terminal one line redrawn in place
// (pages done of all, pages per second, time left), otherwise one plain line as each
// page starts (naming its worker process) and as it ends, for logs and for watchers.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>

class BatchProgress {
public:
    BatchProgress(size_t total, size_t skipped, bool terminal);

    void Started(const std::string& file, pid_t worker);
    void Finished(const std::string& file, const std::string& status, int64_t ms, const std::string& error);
    void Tick();
    // Clears the redrawn line before the summary.
    void End();

    double Seconds() const;
    double PagesPerSecond() const;

private:
    void Redraw();

    size_t total_;
    size_t done_;
    size_t ran_ = 0;
    bool terminal_;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};
