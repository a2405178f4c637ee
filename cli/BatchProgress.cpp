#include "BatchProgress.h"

#include <cstdio>

BatchProgress::BatchProgress(size_t total, size_t skipped, bool terminal)
    : total_(total), done_(skipped), terminal_(terminal) {}

double BatchProgress::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

double BatchProgress::PagesPerSecond() const {
    double seconds = Seconds();
    return seconds > 0 ? static_cast<double>(ran_) / seconds : 0;
}

void BatchProgress::Started(const std::string& file, pid_t worker) {
    if (!terminal_) std::fprintf(stderr, "batch: start %s (worker %d)\n", file.c_str(), static_cast<int>(worker));
}

void BatchProgress::Finished(const std::string& file, const std::string& status, int64_t ms, const std::string& error) {
    ++done_;
    ++ran_;
    // A page that went wrong is named on a terminal too, above the redrawn line.
    if (terminal_ && status == "ok") return Redraw();
    if (terminal_) std::fputs("\r\033[K", stderr);
    std::fprintf(stderr, "batch: [%zu/%zu] %s %s (%lld ms)%s%s\n", done_, total_, status.c_str(), file.c_str(),
                 static_cast<long long>(ms), error.empty() ? "" : ": ", error.c_str());
    if (terminal_) Redraw();
}

void BatchProgress::Tick() {
    if (terminal_) Redraw();
}

void BatchProgress::Redraw() {
    constexpr int kBarWidth = 30;
    int filled = total_ ? static_cast<int>(kBarWidth * done_ / total_) : kBarWidth;
    double rate = PagesPerSecond();
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(kBarWidth, '.');
    std::fprintf(stderr, "\r[%s] %zu/%zu pages, %.1f pages/s", bar.c_str(), done_, total_, rate);
    if (rate > 0) std::fprintf(stderr, ", %.0f s left", static_cast<double>(total_ - done_) / rate);
    std::fputs("\033[K", stderr);
    std::fflush(stderr);
}

void BatchProgress::End() {
    if (terminal_) std::fputs("\r\033[K", stderr);
}
