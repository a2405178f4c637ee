// The open page file as every handler reads it: the line reader, plus indexes of the
// lines that the look-aheads and look-backs stop at, so that they need not read every
// line up to their stop again and again. An index lists the line chunks, in the chunking
// of a read from the body's start, whose text holds one marker; it is built on first use.
#pragma once

#include "psreader/LineReader.h"
#include "psreader/LineScanner.h"

#include <cstddef>
#include <map>
#include <utility>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

class PageFile : public LineReader {
public:
    using LineReader::LineReader;

    // A line chunk as the reader returns it: bytes [start, end).
    struct Chunk {
        size_t start = 0;
        size_t end = 0;
    };

    // Font lines ahead of a position, up to the next article header line.
    struct ValueRange {
        float lo = 0.0f, hi = 0.0f;  // extremes of the values that are numbers
        bool any = false;            // some value is a number
        bool nan = false;            // some value is NaN
        void Include(float v);
    };
    struct FontSpan {
        size_t count = 0;  // font lines in the span
        FontMatrix first;  // the first of them
        ValueRange w, h;   // their matrix widths and heights
    };

    // Where the body's lines begin; the indexes follow the chunks read from there.
    void SetBodyStart(size_t pos);
    // True when a read from `pos` returns the chunks the indexes list.
    bool IsAligned(size_t pos);

    // Judges a listed chunk by its text (line feed removed) and its raw length.
    using ChunkFilter = bool (*)(std::string_view text, size_t rawLength);

    // The chunks whose text contains `marker` (and that `keep` accepts), in file order.
    const std::vector<Chunk>& ChunksWith(std::string_view marker, ChunkFilter keep = nullptr);
    static bool FirstFrom(const std::vector<Chunk>& list, size_t pos, Chunk& out);
    static bool LastIn(const std::vector<Chunk>& list, size_t from, size_t to, Chunk& out);
    // The first chunk at or after `pos` holding `marker`; false when there is none.
    bool NextWith(std::string_view marker, size_t pos, Chunk& out);
    // The text of a listed chunk as a read gives it, line feed removed.
    std::string_view TextOf(const Chunk& chunk) const;

    // Font lines from the aligned position `pos` to the next " of Article " line.
    FontSpan FontsAhead(size_t pos);

private:
    struct FontEntry {
        size_t start = 0;
        FontMatrix matrix;
        FontSpan span;  // this line and the following ones of its span
    };
    void BuildFontIndex();
    void BuildContinuations();

    size_t origin_ = 0;
    std::map<std::pair<std::string, ChunkFilter>, std::vector<Chunk>> chunks_;
    bool fontIndexBuilt_ = false;
    std::vector<FontEntry> fonts_;
    bool continuationsBuilt_ = false;
    std::vector<size_t> continuations_;  // chunk starts inside physical lines longer than a chunk
};

}  // namespace kestrum
