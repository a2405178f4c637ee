#include "textasm/TextReadAhead.h"

#include <system_error>
#include <utility>

namespace kestrum {
namespace {

// A page with this many characters handed over gets a reading thread: below it, starting
// one costs more than it saves.
constexpr size_t kCharsForThread = 50000;
// The reading thread is woken when this many characters wait for it, not for every block:
// it reads faster than the page is read, and waking it often costs the reading thread.
constexpr size_t kCharsPerWake = 20000;

}  // namespace

TextResult ReadText(const CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                    std::span<const St_ReplaceCode> symbolCodes) {
    // The texts first: their pass, long on work, hides the wait for the characters,
    // which the statistics then find at hand.
    TextResult result;
    result.read = true;
    BlockTexts texts = RenderBlockText(block, replaceCodes, symbolCodes);
    result.stats = ReadFontStats(block);
    if (!result.stats) return result;
    result.texts = std::move(texts);
    result.layout = GetLayoutCode(block);
    return result;
}

TextReadAhead::TextReadAhead(std::span<const St_ReplaceCode> replaceCodes, std::span<const St_ReplaceCode> symbolCodes)
    : replaceCodes_(replaceCodes), symbolCodes_(symbolCodes) {}

TextReadAhead::~TextReadAhead() {
    {
        std::lock_guard<std::mutex> guard(mutex_);
        closed_ = true;
        started_ = jobs_.size();  // nothing more is begun
    }
    work_.notify_all();
    if (reader_.joinable()) reader_.join();
}

void TextReadAhead::Offer(size_t index, const CBaseBlock& block) {
    std::unique_lock<std::mutex> lock(mutex_);
    jobs_.push_back(Job{index, &block, {}});
    offeredChars_ += block.m_arrChars.size();
    waitingChars_ += block.m_arrChars.size();
    const bool start = !reader_.joinable() && offeredChars_ >= kCharsForThread && std::thread::hardware_concurrency() > 1;
    const bool wake = !start && waitingChars_ >= kCharsPerWake;
    if (start || wake) waitingChars_ = 0;
    lock.unlock();
    if (!start) {
        if (wake) work_.notify_one();
        return;
    }
    try {
        reader_ = std::thread([this] {
            std::unique_lock<std::mutex> held(mutex_);
            ReadJobs(held, true);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the taking thread reads everything.
    }
}

void TextReadAhead::ReadJobs(std::unique_lock<std::mutex>& lock, bool untilClosed) {
    for (;;) {
        if (untilClosed) work_.wait(lock, [this] { return started_ < jobs_.size() || closed_; });
        if (started_ == jobs_.size()) return;
        Job& job = jobs_[started_++];  // stays in place while others are handed over
        lock.unlock();
        try {
            job.result = ReadText(*job.block, replaceCodes_, symbolCodes_);
        } catch (...) {
            lock.lock();
            if (!failure_) failure_ = std::current_exception();
            ++finished_;
            done_.notify_all();
            continue;
        }
        lock.lock();
        ++finished_;
        done_.notify_all();
    }
}

std::vector<TextResult> TextReadAhead::Take(size_t blockCount) {
    std::unique_lock<std::mutex> lock(mutex_);
    closed_ = true;
    work_.notify_all();
    ReadJobs(lock, false);  // this thread reads what is left, beside the reading thread
    done_.wait(lock, [this] { return finished_ == jobs_.size(); });
    lock.unlock();
    if (reader_.joinable()) reader_.join();
    if (failure_) std::rethrow_exception(failure_);

    std::vector<TextResult> results(blockCount);
    for (Job& job : jobs_)
        if (job.index < blockCount) results[job.index] = std::move(job.result);
    return results;
}

}  // namespace kestrum
