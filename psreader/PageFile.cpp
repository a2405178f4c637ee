#include "psreader/PageFile.h"

#include "platform/Mbcs.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kestrum {

namespace {

constexpr std::string_view kArticle = " of Article ";

}  // namespace

void PageFile::ValueRange::Include(float v) {
    if (std::isnan(v)) {
        nan = true;
        return;
    }
    if (!any || v < lo) lo = v;
    if (!any || v > hi) hi = v;
    any = true;
}

void PageFile::SetBodyStart(size_t pos) {
    if (pos == origin_) return;
    origin_ = pos;
    chunks_.clear();
    fontIndexBuilt_ = false;
    fonts_.clear();
    continuationsBuilt_ = false;
    continuations_.clear();
}

void PageFile::BuildContinuations() {
    continuationsBuilt_ = true;
    const char* data = Bytes().data();
    size_t size = Size();
    for (size_t lineStart = origin_; lineStart < size;) {
        const void* feed = std::memchr(data + lineStart, '\n', size - lineStart);
        size_t lineEnd = feed ? static_cast<size_t>(static_cast<const char*>(feed) - data) + 1 : size;
        for (size_t at = lineStart + kMaxChunk; at < lineEnd; at += kMaxChunk) continuations_.push_back(at);
        lineStart = lineEnd;
    }
}

bool PageFile::IsAligned(size_t pos) {
    if (pos < origin_) return false;
    if (pos == origin_ || pos >= Size() || Bytes()[pos - 1] == '\n') return true;
    if (!continuationsBuilt_) BuildContinuations();
    return std::binary_search(continuations_.begin(), continuations_.end(), pos);
}

std::string_view PageFile::TextOf(const Chunk& chunk) const {
    std::string_view raw = Bytes().substr(chunk.start, chunk.end - chunk.start);
    return StripLineFeed(raw.substr(0, raw.find('\0')));
}

const std::vector<PageFile::Chunk>& PageFile::ChunksWith(std::string_view marker, ChunkFilter keep) {
    auto key = std::make_pair(std::string(marker), keep);
    auto found = chunks_.find(key);
    if (found != chunks_.end()) return found->second;
    if (keep) {
        std::vector<Chunk> kept;
        for (const Chunk& chunk : ChunksWith(marker)) {
            std::string_view text = TextOf(chunk);
            bool feed = chunk.start + text.size() < chunk.end && Bytes()[chunk.start + text.size()] == '\n';
            if (keep(text, text.size() + (feed ? 1 : 0))) kept.push_back(chunk);
        }
        return chunks_[key] = std::move(kept);
    }
    std::vector<Chunk>& list = chunks_[key];

    // Every raw occurrence is mapped to the chunk that holds its first byte; the chunk
    // is listed when a read of it would find the marker (whole, on a character
    // boundary, before a zero byte).
    const char* data = Bytes().data();
    size_t size = Size();
    size_t lineStart = origin_;  // physical line (from the origin on) holding `scanned`
    size_t scanned = origin_;
    size_t lastEnd = origin_;
    for (size_t from = origin_; from < size && !marker.empty();) {
        const size_t hit = FindBytes(Bytes().substr(from), marker);
        if (hit == std::string_view::npos) break;
        const size_t at = from + hit;
        from = at + 1;
        if (at < lastEnd) continue;  // its chunk was judged already
        if (const void* feed = memrchr(data + scanned, '\n', at - scanned))
            lineStart = static_cast<size_t>(static_cast<const char*>(feed) - data) + 1;
        scanned = at;
        Chunk chunk;
        chunk.start = lineStart + (at - lineStart) / kMaxChunk * kMaxChunk;
        size_t limit = std::min(size, chunk.start + kMaxChunk);
        const void* feed = std::memchr(data + at, '\n', limit - at);
        chunk.end = feed ? static_cast<size_t>(static_cast<const char*>(feed) - data) + 1 : limit;
        lastEnd = chunk.end;
        from = chunk.end;
        if (MbContains(TextOf(chunk), marker)) list.push_back(chunk);
    }
    return list;
}

bool PageFile::NextWith(std::string_view marker, size_t pos, Chunk& out) { return FirstFrom(ChunksWith(marker), pos, out); }

bool PageFile::FirstFrom(const std::vector<Chunk>& list, size_t pos, Chunk& out) {
    auto it = std::lower_bound(list.begin(), list.end(), pos, [](const Chunk& c, size_t p) { return c.start < p; });
    if (it == list.end()) return false;
    out = *it;
    return true;
}

bool PageFile::LastIn(const std::vector<Chunk>& list, size_t from, size_t to, Chunk& out) {
    auto it = std::lower_bound(list.begin(), list.end(), to, [](const Chunk& c, size_t p) { return c.start < p; });
    if (it == list.begin() || std::prev(it)->start < from) return false;
    out = *std::prev(it);
    return true;
}

void PageFile::BuildFontIndex() {
    fontIndexBuilt_ = true;
    const std::vector<Chunk>& articles = ChunksWith(kArticle);
    const std::vector<Chunk>& fonts = ChunksWith(kFindFont);
    // A line with both markers is an article header to the look-ahead.
    std::vector<size_t> segmentOf;  // index of the next article header line
    size_t a = 0;
    for (const Chunk& chunk : fonts) {
        while (a < articles.size() && articles[a].start < chunk.start) ++a;
        if (a < articles.size() && articles[a].start == chunk.start) continue;
        std::string_view text = TextOf(chunk);
        FontEntry entry;
        entry.start = chunk.start;
        entry.matrix = ReadFontMatrix(text, MbFind(text, kFindFont));
        fonts_.push_back(entry);
        segmentOf.push_back(a);
    }
    for (size_t i = fonts_.size(); i-- > 0;) {
        FontEntry& e = fonts_[i];
        bool alone = i + 1 == fonts_.size() || segmentOf[i + 1] != segmentOf[i];
        FontSpan span = alone ? FontSpan{} : fonts_[i + 1].span;
        span.w.Include(e.matrix.w);
        span.h.Include(e.matrix.h);
        span.count += 1;
        span.first = e.matrix;
        e.span = span;
    }
}

PageFile::FontSpan PageFile::FontsAhead(size_t pos) {
    if (!fontIndexBuilt_) BuildFontIndex();
    auto it = std::lower_bound(fonts_.begin(), fonts_.end(), pos,
                               [](const FontEntry& e, size_t p) { return e.start < p; });
    if (it == fonts_.end()) return {};
    Chunk article;
    if (NextWith(kArticle, pos, article) && article.start <= it->start) return {};
    return it->span;
}

}  // namespace kestrum
