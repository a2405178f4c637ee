// The article reader's reads ahead of its position: whether a title follows a
// paragraph break, and where a block without a translation has its origin. Both stop
// at lines the page file indexes, so they cost little however far they reach; only
// the part of a line before the index's chunking is read line by line.
#include "pscontent/ArticleState.h"
#include "platform/Mbcs.h"
#include "psreader/LineScanner.h"
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace kestrum {

namespace {

constexpr std::string_view kArticleHeader = " of Article ";
constexpr std::string_view kConcat = "] concat";
constexpr size_t kShortestLine = 3;
constexpr int64_t kTitleStepOver = 600;  // a font this much larger than the block's first makes a title

int32_t ScaledSize(float v, float scale) { return trunc32(static_cast<double>(v) * scale); }

// The largest scaled value of a range; the scaling is monotone, so its ends decide.
int32_t LargestScaled(const PageFile::ValueRange& range, float scale) {
    int32_t best = std::numeric_limits<int32_t>::min();
    if (range.any) best = std::max(ScaledSize(range.lo, scale), ScaledSize(range.hi, scale));
    if (range.nan) best = std::max(best, 0);  // NaN truncates to 0
    return best;
}

// Reads the lines before the position where the file's indexes take over, handing
// each line of at least three bytes (line feed removed) to `visit`; stops early when
// `visit` returns true. True when it stopped early.
template <typename Visit>
bool ReadUntilAligned(PageFile& file, Visit visit) {
    std::string_view raw;
    while (!file.IsAligned(file.Tell()) && file.ReadLine(raw)) {
        if (raw.size() < kShortestLine) continue;
        if (visit(StripLineFeed(raw))) return true;
    }
    return false;
}

}  // namespace

bool CPSParser::LookAheadForTitle(PageFile& file, float scaleX, float scaleY,
                                  const std::vector<St_WordInfo>& chars) const {
    const bool prevBig = chars.empty() || chars.back().nHeight > m_nTitleMinSize;
    const int64_t firstHeight = chars.empty() ? 0 : chars.front().nHeight;
    int32_t largest = 0;
    auto isTitle = [&] { return largest > m_nTitleMinSize && (prevBig || largest - firstHeight >= kTitleStepOver); };

    int decided = -1;  // -1 open, else the answer
    ReadUntilAligned(file, [&](std::string_view text) {
        if (MbContains(text, kArticleHeader)) return decided = 0, true;
        size_t at = MbFind(text, kFindFont);
        if (at == std::string_view::npos) return false;
        FontMatrix m = ReadFontMatrix(text, at);
        largest = std::max({largest, ScaledSize(m.w, scaleX), ScaledSize(m.h, scaleY)});
        if (chars.empty() || isTitle()) return decided = isTitle() ? 1 : 0, true;
        return false;
    });
    if (decided >= 0) return decided == 1;

    // The answer grows with the largest size ahead, so the largest decides.
    PageFile::FontSpan span = file.FontsAhead(file.Tell());
    if (span.count == 0) return false;
    if (chars.empty()) {
        largest = std::max({largest, ScaledSize(span.first.w, scaleX), ScaledSize(span.first.h, scaleY)});
    } else {
        largest = std::max({largest, LargestScaled(span.w, scaleX), LargestScaled(span.h, scaleY)});
    }
    return isTitle();
}

void CPSParser::SearchOrigin(PageFile& file, ArticleState& st) {
    const size_t here = file.Tell();
    auto apply = [&](std::string_view text) {
        ConcatTranslation concat;
        if (!ReadConcat(text, concat) || !concat.mirrored) return;
        const int32_t tx = trunc32(concat.tx), ty = trunc32(concat.ty);
        st.block.m_rcBox.left = trunc32(st.originX - static_cast<double>(tx));
        st.block.m_rcBox.top = trunc32(st.originY - static_cast<double>(ty));
        if (st.article != -1) {
            st.savedX = st.block.m_rcBox.left;
            st.savedY = st.block.m_rcBox.top;
        }
        char buf[80];
        std::snprintf(buf, sizeof buf, "[1 0 0 1 %d %d] concat", tx, ty);
        st.endMarker = buf;
    };

    bool stopped = ReadUntilAligned(file, [&](std::string_view text) {
        if (MbContains(text, kArticleHeader)) return true;
        if (!MbContains(text, kConcat)) return false;
        apply(text);
        return true;
    });
    if (!stopped) {
        PageFile::Chunk header, concat;
        const bool hasHeader = file.NextWith(kArticleHeader, file.Tell(), header);
        if (file.NextWith(kConcat, file.Tell(), concat) && (!hasHeader || concat.start < header.start))
            apply(file.TextOf(concat));
    }
    file.Seek(here);
}

}  // namespace kestrum
