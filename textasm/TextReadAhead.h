// The text work of block finishing, done while the page is still being read: each text
// block the reader completes is handed over, and a thread of its own reads the block's
// font statistics, texts and layout while the reader goes on. What is left when the
// results are taken is shared by the taking thread. A page too small to be worth a
// thread is read on the taking thread alone.
#pragma once

#include "pscontent/Records.h"
#include "textasm/BlockStats.h"
#include "textasm/BlockText.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace kestrum {

// What a text block gives its host block, read from the block's characters alone.
struct TextResult {
    bool read = false;               // the block was read
    std::optional<FontStats> stats;  // none: the block makes no host block
    BlockTexts texts;
    int layout = 0;
};

// True for the blocks whose text a host gets: titles and body text not passed over.
inline bool IsTextBlock(const CBaseBlock& b) {
    return !b.m_bSkip && (b.m_nKind == kBlockTitle || b.m_nKind == kBlockBody);
}

TextResult ReadText(const CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                    std::span<const St_ReplaceCode> symbolCodes);

class TextReadAhead {
public:
    // The lists are lent for the object's life.
    TextReadAhead(std::span<const St_ReplaceCode> replaceCodes, std::span<const St_ReplaceCode> symbolCodes);
    // Waits for the block being read, if any; the rest are not read.
    ~TextReadAhead();
    TextReadAhead(const TextReadAhead&) = delete;
    TextReadAhead& operator=(const TextReadAhead&) = delete;

    // Hands over the page's block number `index`, complete: it must stay where it is,
    // unchanged, until the results are taken.
    void Offer(size_t index, const CBaseBlock& block);
    // The results by block index, for `blockCount` blocks, once every block handed over
    // is read (the others' are not read); passes on what a reading thread threw. Once.
    std::vector<TextResult> Take(size_t blockCount);

private:
    struct Job {
        size_t index;
        const CBaseBlock* block;
        TextResult result;
    };
    // Reads jobs until none is left and no more will come; `lock` is held between jobs.
    void ReadJobs(std::unique_lock<std::mutex>& lock, bool untilClosed);

    std::span<const St_ReplaceCode> replaceCodes_, symbolCodes_;
    std::mutex mutex_;
    std::condition_variable work_;  // a job came, or no more will
    std::condition_variable done_;  // a job was read
    std::deque<Job> jobs_;          // in the order handed over; kept in place as it grows
    size_t started_ = 0;            // jobs a thread has begun
    size_t finished_ = 0;           // jobs read
    bool closed_ = false;           // no more jobs will come
    std::exception_ptr failure_;    // the first thing a reading thread threw
    size_t offeredChars_ = 0;
    size_t waitingChars_ = 0;       // handed over since the reading thread was last woken
    std::thread reader_;            // started once the page has enough characters
};

}  // namespace kestrum
