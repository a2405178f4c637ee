// The interpreter of an article's lines: fonts, scales, colours, shown strings,
// glyphs drawn by procedures and paragraph breaks become characters and text blocks.
#include "pscontent/ArticleState.h"
#include "pscontent/Colour.h"
#include "platform/Mbcs.h"
#include "psreader/FontTable.h"
#include "psreader/LineScanner.h"
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"
#include "textasm/TextReadAhead.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iterator>

namespace kestrum {

namespace {

constexpr std::string_view kArticleHeader = " of Article ";
constexpr std::string_view kTitleBlock = "%Title Block";
constexpr std::string_view kConcat = "] concat";
constexpr std::string_view kRectFill = "rectfill";
constexpr std::string_view kScale = " scale";
constexpr size_t kScaleRestSkip = 7;  // the rest of a scale line starts after " scale" and a space
constexpr std::string_view kSave = "gs ";
constexpr std::string_view kDefineBegin = "%%begin define no searches flag (";
constexpr std::string_view kDefineEnd = "%%end define no searches flag (";
constexpr std::string_view kShowMarkers[] = {" ] fxs", " ]fxs", " ] fys", ">s"};
constexpr std::string_view kVerticalShow = " ] fys";
constexpr std::string_view kParagraphBreak = "%Paragraph Break";
constexpr std::string_view kSeparation = "[ /Separation ";
constexpr std::string_view kSeparationInScale = "} ] setcolorspace";
constexpr std::string_view kSetColour = " sc ";
constexpr std::string_view kGrey = " sg ";
constexpr std::string_view kMoveTo = " m ";
constexpr std::string_view kMoveToLong = " mo ";
constexpr std::string_view kDefinedShow = ") [0 ] fys";

constexpr size_t kShortestLine = 3;          // shorter lines are passed over
constexpr int kMaxArticleNesting = 64;       // deeper headers are read as lines of the article

// Counts the nesting of ReadArticle calls for as long as one runs.
class NestingGuard {
public:
    explicit NestingGuard(int& depth) : depth_(depth) { ++depth_; }
    ~NestingGuard() { --depth_; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

private:
    int& depth_;
};

// Position of the moveto operator: " m ", else " mo ".
size_t FindMoveTo(std::string_view line, size_t& length) {
    size_t at = MbFind(line, kMoveTo);
    length = kMoveTo.size();
    if (at == std::string_view::npos) {
        at = MbFind(line, kMoveToLong);
        length = kMoveToLong.size();
    }
    return at;
}

std::string FormatEndMarker(int64_t tx, int64_t ty) {
    char buf[80];
    std::snprintf(buf, sizeof buf, "[1 0 0 1 %lld %lld] concat", static_cast<long long>(tx),
                  static_cast<long long>(ty));
    return buf;
}

// The working list itself becomes the block's list, so no character is copied. The
// next list starts with room for `room` characters (untouched room costs no page); a
// list left much larger than what it holds is cut to size, keeping the page near the
// memory its characters need.
constexpr size_t kSlackDivisor = 4;  // tolerated unused room: a quarter of the list

void TakeChars(ArticleState& st, size_t room) {
    std::vector<St_WordInfo>& taken = st.block.m_arrChars;
    taken = std::move(st.chars);
    if (taken.capacity() - taken.size() > taken.size() / kSlackDivisor) taken.shrink_to_fit();
    st.chars = std::vector<St_WordInfo>();
    st.chars.reserve(room);
}

void SetOrigin(CBaseBlock& block, int32_t x, int32_t y) {
    block.m_rcBox.left = x;
    block.m_rcBox.top = y;
}

int32_t LargerSize(int32_t w, int32_t h) { return std::max(w, h); }

// The colour of the CMYK fractions in front of " sc " at `at`, split into `numbers`.
uint32_t ColourBefore(std::string_view line, size_t at, float* numbers) {
    SplitNumbers(TrimLeft(line.substr(0, at)), ' ', 4, numbers);
    return FractionsToColour(numbers);
}

// The advances before and after a character, which only a narrow character needs.
struct Neighbours {
    int32_t prev = 0, next = 0;
};

// What placing a character takes from its record and the scales, worked out once for
// all characters of a show line: its sizes and their products, which are the same
// doubles whether worked out once or for every character.
struct CharShape {
    CharShape(const St_WordInfo& w, float sx, float sy)
        : nWidth(w.nWidth), nHeight(w.nHeight), width(w.nWidth), height(w.nHeight), scaleX(sx), scaleY(sy),
          reachRight(width * 0.95), reachDown(height * 0.25), rise(height * 0.8), half(width * 0.5),
          narrow(width * 0.4), wide(width * 0.7) {}
    int32_t nWidth, nHeight;
    double width, height;
    float scaleX, scaleY;
    double reachRight, reachDown, rise, half, narrow, wide;
};

// The origin, extent and box of a character of w's code drawn at (x, y) in `shape`:
// PlaceChar's rules, for the reader's record or a local one. `neighbours()` gives the
// advances around the character, when it has them.
template <class NeighbourAdvances>
[[gnu::always_inline]] inline void PlaceWord(St_WordInfo& w, const CharShape& shape, int32_t x, int32_t y,
                                            Point& extent, bool hasAdvances, NeighbourAdvances&& neighbours) {
    // Sums of whole numbers are exact in a double: they are added as integers here, and
    // a scale of 1 leaves a position as it is.
    const int32_t X = shape.scaleX == 1.0f ? x : trunc32(x * static_cast<double>(shape.scaleX));
    const int32_t Y = shape.scaleY == 1.0f ? y : trunc32(y * static_cast<double>(shape.scaleY));
    w.nX = X;
    w.nY = Y;
    // The larger of the extent and the character's reach, as std::max takes it.
    if (const double reach = shape.reachRight + X; extent.x < reach) extent.x = trunc32(reach);
    if (const double reach = shape.reachDown + Y; extent.y < reach) extent.y = trunc32(reach);
    const int32_t top = trunc32(Y - shape.rise);

    int32_t right;
    const uint16_t code = w.wCode;
    if (code > 0x100 || code == '%' || code == '?') right = Saturate32(int64_t{X} + shape.nWidth);
    else if (!hasAdvances) right = trunc32(X + shape.half);
    else if (const Neighbours around = neighbours(); shape.half < around.prev && shape.narrow > around.next)
        right = Saturate32(int64_t{X} + shape.nWidth);
    else right = trunc32(shape.wide + X);
    w.rcChar = MakeRect(X, top, right, Saturate32(int64_t{top} + shape.nHeight));
}

// The boxes of characters appended, as their four outer sides: a block's bound takes
// them at once (UnionRect of each in turn gives the same, an empty box adding nothing).
struct AddedBoxes {
    int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    bool any = false;

    void Add(const Rect& r) {
        if (IsRectEmpty(r)) return;
        left = std::min(left, r.left);
        top = std::min(top, r.top);
        right = std::max(right, r.right);
        bottom = std::max(bottom, r.bottom);
        any = true;
    }
    Rect AddedTo(const Rect& bound) const { return any ? UnionRect(bound, MakeRect(left, top, right, bottom)) : bound; }
};

[[gnu::always_inline]] inline void AppendWord(const St_WordInfo& w, std::vector<St_WordInfo>& chars, AddedBoxes& added,
                                             Rect& lastRect) {
    // The typesetting system draws some glyphs twice at one place (bold by overprint).
    if (!chars.empty() && w.rcChar == lastRect) {
        chars.back() = w;
    } else {
        chars.push_back(w);
        added.Add(w.rcChar);
    }
    lastRect = w.rcChar;
}

}  // namespace

bool CPSParser::ReadArticle(PageFile& file, int32_t article, int32_t originX, int32_t originY) {
    NestingGuard nesting(m_nArticleDepth);
    ArticleState st(article, originX, originY);
    st.chars.reserve(ArticleState::RoomFor(m_nBodyCharsHint));
    std::string line;
    std::string_view raw;
    while (file.ReadLine(raw)) {
        line.assign(StripLineFeed(raw));
        if (raw.size() < kShortestLine) continue;
        if (ArticleLine(file, st, line)) return true;
    }
    // The block being built is lost with an article that never ends.
    m_strPrevLine = line;
    return true;
}

bool CPSParser::ArticleLine(PageFile& file, ArticleState& st, std::string& line) {
    const ByteSet bytes(line);
    auto find = [&](std::string_view marker) {
        return bytes.MayHold(marker) ? MbFind(line, marker) : std::string::npos;
    };
    auto holds = [&](std::string_view marker) { return find(marker) != std::string::npos; };
    ConcatTranslation concat;
    const bool isConcat = bytes.MayHold(kConcat) && ReadConcat(line, concat);
    size_t at;

    if (holds(kTitleBlock)) {
        st.block.m_nKind = kBlockTitle;
    } else if ((at = find(kArticleHeader)) != std::string::npos && m_nArticleDepth < kMaxArticleNesting) {
        ReadArticle(file, Atoi(Mid(line, at + kArticleHeader.size())), st.savedX, st.savedY);
    } else if (holds(st.endMarker)) {
        EndArticle(st, line);
        return true;
    } else if (isConcat && concat.mirrored) {
        SetOrigin(st.block, trunc32(st.originX - static_cast<double>(trunc32(concat.tx))),
                  trunc32(st.originY - static_cast<double>(trunc32(concat.ty))));
        EndArticle(st, line);
        return true;
    } else if (isConcat) {
        SetOrigin(st.block, trunc32(st.originX + static_cast<double>(concat.tx)),
                  trunc32(st.originY + static_cast<double>(concat.ty)));
        if (st.article != -1) {
            st.savedX = st.block.m_rcBox.left;
            st.savedY = st.block.m_rcBox.top;
        }
        st.endMarker = FormatEndMarker(-int64_t{trunc32(concat.tx)}, -int64_t{trunc32(concat.ty)});
    } else if (holds(kRectFill)) {
        ReadRuleOrBox(file, line, st.savedX, st.savedY);
    } else if ((at = find(kScale)) != std::string::npos && holds(kSave)) {
        ScaleLine(file, st, line, at);
    } else if ((at = find(kDefineBegin)) != std::string::npos) {
        DefineBlock(file, st, line, at);
    } else if ((at = find(kFindFont)) != std::string::npos) {
        FontLine(st, line, at);
    } else if (ShowLineAt(st, line, bytes)) {
    } else if (holds(kParagraphBreak)) {
        ParagraphBreak(file, st);
    } else if (holds(kSeparation)) {
        ReadSeparationColour(file, line, st.colour);
    }
    return false;
}

void CPSParser::EndArticle(ArticleState& st, std::string_view line) {
    if (st.chars.size() < static_cast<size_t>(std::max(m_nTitleMaxChars, 0)) && st.maxSize >= m_nTitleMinSize)
        st.block.m_nKind = kBlockTitle;
    // Articles of a page are alike: the next one starts with room for this one's body.
    m_nBodyCharsHint = st.chars.size();
    TakeChars(st, 0);
    AppendBlock(st.block, st.extent.x, st.extent.y, st.minSize, st.maxSize);
    m_strPrevLine = line;
}

void CPSParser::ScaleLine(PageFile& file, ArticleState& st, std::string_view line, size_t at) {
    std::string operands = Left(line, at);
    MbReplaceAll(operands, kSave, "");
    SplitNumbers(operands, ' ', 2, st.numbers.data());
    st.scaleX = st.numbers[0];
    st.scaleY = st.numbers[1];

    std::string rest = Mid(line, at + kScaleRestSkip);
    size_t marker;
    if ((marker = MbFind(rest, kFindFont)) != std::string::npos) {
        FontLine(st, rest, marker);
    } else if ((marker = MbFind(rest, kDefineBegin)) != std::string::npos) {
        DefineBlock(file, st, rest, marker);
    } else if (MbContains(rest, kSeparationInScale)) {
        ReadSeparationColour(file, rest, st.colour);
    }
}

bool CPSParser::SetFontFromLine(size_t markerPos, std::string_view line, float scaleX, float scaleY) {
    std::string_view head = line.substr(0, std::min(markerPos, line.size()));
    size_t slash = MbFindLast(head, "/");
    std::string display = MapFontName(slash != std::string_view::npos ? head.substr(slash + 1) : head);
    m_curWord.strFontName = display;
    m_curWord.strFontName2 = std::move(display);
    FontMatrix m = ReadFontMatrix(line, markerPos);
    m_curWord.nWidth = trunc32(static_cast<double>(m.w) * scaleX);
    m_curWord.nHeight = trunc32(static_cast<double>(m.h) * scaleY);
    m_curWord.fAngle = m.rotated ? 90.0f : 0.0f;
    return true;
}

void CPSParser::FontLine(ArticleState& st, std::string_view line, size_t markerPos) {
    SetFontFromLine(markerPos, line, st.scaleX, st.scaleY);
    NoteFontSize(st);
    size_t at = MbFind(line, kSetColour);
    if (at != std::string_view::npos) st.colour = ColourBefore(line, at, st.numbers.data());
}

void CPSParser::NoteFontSize(ArticleState& st) const {
    int32_t size = LargerSize(m_curWord.nWidth, m_curWord.nHeight);
    if (size >= st.maxSize) st.maxSize = size;
    if (st.minSize == 0 || st.minSize >= size) st.minSize = size;
}

bool CPSParser::ShowLineAt(ArticleState& st, std::string_view line, const ByteSet& bytes) {
    for (std::string_view marker : kShowMarkers) {
        size_t at = bytes.MayHold(marker) ? MbFind(line, marker) : std::string_view::npos;
        if (at == std::string_view::npos) continue;
        const bool vertical = marker == kVerticalShow || (bytes.MayHold(kVerticalShow) && MbContains(line, kVerticalShow));
        ShowLine(st, line, at, vertical);
        return true;
    }
    return false;
}

void CPSParser::ShowLine(ArticleState& st, std::string_view line, size_t markerPos, bool vertical) {
    st.vertical = vertical ? 1 : 0;
    size_t moveLength;
    size_t move = FindMoveTo(line, moveLength);
    if (move != std::string_view::npos) st.positionText = Left(line, move);
    size_t sc = MbFind(st.positionText, kSetColour);
    if (sc != std::string::npos) {
        size_t lineSc = MbFind(line, kSetColour);
        st.colour = ColourBefore(line, lineSc, st.numbers.data());
        st.positionText = Mid(st.positionText, sc + kSetColour.size());
    }
    auto position = Numbers<2>(st.positionText);
    st.curX = std::max(trunc32(position[0]), 0);
    st.curY = trunc32(position[1]);

    ExtractShowText(line, st.showText);
    const std::string& text = st.showText;
    std::string_view head = line.substr(0, std::min(markerPos, line.size()));
    size_t bracket = MbFindLast(head, "[");
    std::string_view advances = bracket != std::string_view::npos ? head.substr(bracket + 1) : head;
    if (advances.size() > 1) SplitNumbers(advances, ' ', ArticleState::kNumbers, st.numbers.data());

    // The character being placed is kept in a local record for the length of the line,
    // where the compiler can hold it; the reader's record then takes the last one.
    St_WordInfo w = m_curWord;
    w.crColor = st.colour;
    w.bVertical = st.vertical;
    const CharShape shape(w, st.scaleX, st.scaleY);
    int32_t curX = st.curX, curY = st.curY;
    AddedBoxes added;
    const size_t n = text.size();
    std::string_view rest = text;
    size_t i = 0;
    for (size_t k = 0; k < n && !rest.empty(); ++k) {
        const bool dbl = TakeChar(rest, w.wCode) == 1;
        if (k > 0) {
            if (st.vertical) curY = trunc32(curY + static_cast<double>(st.Number(i)));
            else curX = trunc32(curX + static_cast<double>(st.Number(i)));
            ++i;
        }
        const size_t limit = dbl ? n / 2 : n;
        auto neighbours = [&st, i, limit] {
            return Neighbours{i == 0 ? trunc32(st.Number(0)) : 0, i + 1 < limit ? trunc32(st.Number(i + 1)) : 0};
        };
        if (dbl) ++k;
        PlaceWord(w, shape, curX, curY, st.extent, true, neighbours);
        AppendWord(w, st.chars, added, st.lastRect);
    }
    st.block.m_rcBound = added.AddedTo(st.block.m_rcBound);
    st.curX = curX;
    st.curY = curY;
    if (n > 0) m_curWord = w;  // a line without characters leaves the record as it was
}

void CPSParser::PlaceChar(int32_t x, int32_t y, Point& extent, float scaleX, float scaleY, bool hasAdvances,
                          int32_t prevAdvance, int32_t nextAdvance) {
    PlaceWord(m_curWord, CharShape(m_curWord, scaleX, scaleY), x, y, extent, hasAdvances,
              [=] { return Neighbours{prevAdvance, nextAdvance}; });
}

void CPSParser::AppendChar(std::vector<St_WordInfo>& chars, CBaseBlock& block, Rect& lastRect) {
    AddedBoxes added;
    AppendWord(m_curWord, chars, added, lastRect);
    block.m_rcBound = added.AddedTo(block.m_rcBound);
}

void CPSParser::DefineBlock(PageFile& file, ArticleState& st, std::string_view line, size_t markerPos) {
    std::string_view glyph = line.substr(std::min(line.size(), markerPos + kDefineBegin.size()));
    glyph = glyph.substr(0, 2);
    TakeChar(glyph, m_curWord.wCode);
    st.glyphPlaced = 0;

    std::string text;
    std::string_view raw;
    while (file.ReadLine(raw)) {
        if (raw.size() < kShortestLine) continue;
        text.assign(StripLineFeed(raw));
        size_t at, moveLength;
        if ((at = MbFind(text, kFindFont)) != std::string::npos) {
            SetFontFromLine(at, text, st.scaleX, st.scaleY);
            NoteFontSize(st);
            file.ReadLine(raw);  // the line after a font selection is the glyph's set-up
        } else if (!st.glyphPlaced && (at = FindMoveTo(text, moveLength)) != std::string::npos) {
            if (PlaceDefinedGlyph(st, text, at)) return;
        } else if (MbContains(text, kDefineEnd)) {
            m_curWord.crColor = st.colour;
            PlaceChar(st.curX, st.curY, st.extent, st.scaleX, st.scaleY);
            AppendChar(st.chars, st.block, st.lastRect);
            st.colour = 0;
            return;
        }
    }
}

bool CPSParser::PlaceDefinedGlyph(ArticleState& st, std::string_view text, size_t move) {
    std::string position = Left(text, move);
    size_t grey = MbFind(position, kGrey);
    if (grey != std::string::npos) position = Mid(position, grey + kGrey.size());
    MbReplaceAll(position, kSave, "");
    SplitNumbers(position, ' ', 2, st.numbers.data());
    st.curX = trunc32(st.numbers[0]);
    st.curY = trunc32(st.numbers[1]);

    size_t at;
    if (MbContains(text, kDefinedShow)) {
        std::string_view glyph = text.substr(std::min(text.size(), move + 4));
        TakeChar(glyph, m_curWord.wCode);
    } else if (MbContains(text, "0 VT") || MbContains(text, "1 VT")) {
        SplitNumbers(text.substr(std::min(text.size(), move + 3)), ' ', 4, st.numbers.data());
        st.colour = FractionsToColour(st.numbers.data());
    } else if ((at = MbFind(text, kSetColour)) != std::string_view::npos) {
        st.colour = ColourBefore(text, at, st.numbers.data());
    } else if ((at = MbFind(text, kVerticalShow)) != std::string_view::npos) {
        // Not a glyph after all: an ordinary vertical show line.
        ShowLine(st, text, at, true);
        return true;
    }
    st.glyphPlaced = 1;
    return false;
}

bool CPSParser::CheckTitle(CBaseBlock& block, const std::vector<St_WordInfo>& chars, int32_t maxSize) const {
    if (chars.size() >= static_cast<size_t>(std::max(m_nTitleMaxChars, 0)) || maxSize < m_nTitleMinSize) return false;
    block.m_nKind = kBlockTitle;
    return true;
}

void CPSParser::ParagraphBreak(PageFile& file, ArticleState& st) {
    st.chars.push_back(St_WordInfo::ParagraphMarker());
    st.colour = 0;
    const int32_t savedKind = st.block.m_nKind;
    if (st.block.m_nKind == kBlockBody) {
        const size_t here = file.Tell();
        if (LookAheadForTitle(file, st.scaleX, st.scaleY, st.chars)) st.block.m_nKind = kBlockTitle;
        file.Seek(here);
    }
    if (!CheckTitle(st.block, st.chars, st.maxSize) && st.block.m_nKind != kBlockTitle) return;

    TakeChars(st, ArticleState::RoomFor(m_nBodyCharsHint));
    if (st.block.m_rcBox.left == 0 && st.block.m_rcBox.top == 0) SearchOrigin(file, st);
    AppendBlock(st.block, st.extent.x, st.extent.y, st.minSize, st.maxSize);
    st.block.m_rcBound = Rect{};
    st.block.m_nKind = savedKind;
}

void CPSParser::AppendBlock(CBaseBlock& block, int32_t extentX, int32_t extentY, int32_t minSize, int32_t maxSize) {
    block.m_rcBox.right = trunc32(static_cast<double>(block.m_rcBox.left) + extentX);
    block.m_rcBox.bottom = trunc32(static_cast<double>(block.m_rcBox.top) + extentY);
    OffsetRect(block.m_rcBound, block.m_rcBox.left, block.m_rcBox.top);
    block.m_nMinSize = minSize;
    block.m_nMaxSize = maxSize;
    block.m_nID = static_cast<int32_t>(m_arrBlocks.size()) - 1;
    // The characters move into the appended copy; the caller starts the next block afresh.
    std::vector<St_WordInfo> chars = std::move(block.m_arrChars);
    block.m_arrChars.clear();
    CBaseBlock& added = m_arrBlocks.emplace_back(block);
    added.m_arrChars = std::move(chars);
    if (m_pTextAhead && IsTextBlock(added)) m_pTextAhead->Offer(m_arrBlocks.size() - 1, added);
}

}  // namespace kestrum
