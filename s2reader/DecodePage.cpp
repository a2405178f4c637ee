// The stream walk: glyph words placed on the current line, operation words that move
// the line, set the glyph size and writing direction, and open and close text items,
// and the picture and rule records the walk steps over.
#include "model/PageInfo.h"
#include "parser/FolderListings.h"
#include "psreader/ImagePath.h"
#include "s2reader/S2Codes.h"
#include "s2reader/S2Parser.h"
#include "s2reader/WordCursor.h"

#include <cstdlib>

namespace kestrum {

namespace {

enum Operation : uint16_t {
    kSetLine = 0x8001,
    kSizeByNumbers = 0x8002,
    kVertical = 0x8018,
    kHorizontal = 0x8019,
    kPushOrigin = 0x801A,
    kSizeByNumberBytes = 0x801E,
    kSkipTwo = 0x8020,
    kWidthQuarters = 0x8070,
    kHeightQuarters = 0x8071,
    kSkipFive = 0x80F0,
    kSpace = 0x80F1,
    kLinkItem = 0x80F2,
    kEndItem = 0x80F3,
    kLineBreak = 0x80F4,
    kEndItemToo = 0x80F7,
    kPictureRecord = 0x800A,
    kPictureRecordExtended = 0x808A,
    kPictureRecordExtendedToo = 0x809A,
    kRuleWithLine = 0x8008,
};

constexpr uint16_t kFirstOperation = 0x8000;

// Glyph sizes of the size numbers, in S2 units.
constexpr int32_t kSizeTable[] = {48,  56,  66,  76,  86,  100, 116, 134, 152, 174, 202,
                                  232, 266, 308, 352, 410, 468, 546, 616, 704, 820, 938};
constexpr unsigned kSizeNumbers = std::size(kSizeTable);

constexpr int64_t kLineJump = 1000;       // a new line further than this away starts a new item
constexpr int32_t kSizeJump = 73;         // a size change larger than this starts a new item
constexpr double kQuarterUnits = 10.22;   // S2 units per size unit of the quarter-unit operations

constexpr uint16_t kRuleExtension = 0xFFFF;
constexpr uint16_t kRuleEnd = 0x8005;
constexpr uint16_t kRuleArrowA = 0xFFFD;
constexpr uint16_t kRuleArrowB = 0xFFFE;
constexpr uint16_t kRuleStraightA = 0xC000;
constexpr uint16_t kRuleStraightB = 0xC001;
constexpr uint16_t kCoordinateBits = 0x3FFF;

constexpr uint16_t kLongName = 0xFFFF;
constexpr int kShortNameUnits = 8;
constexpr size_t kMaxPathChars = 259;

bool IsRuleRecord(uint16_t op) { return (op >= 0x8006 && op <= 0x8008) || (op >= 0x8010 && op <= 0x8012); }
bool IsPictureRecord(uint16_t op) {
    return op == kPictureRecord || op == kPictureRecordExtended || op == kPictureRecordExtendedToo;
}

// A value that is not a multiple of 16 goes to the next multiple above its low bits cleared.
int32_t RoundUpTo16(int32_t v) { return (v & 15) == 0 ? v : (v & ~15) + 16; }

int32_t QuarterUnits(uint16_t parameter) { return trunc32(kQuarterUnits * (int16_t(parameter) / 4)); }

// The base name of a page-file path: after the last backslash, up to the last dot.
std::string PictureBaseName(std::string path) {
    size_t slash = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const auto c = static_cast<unsigned char>(path[i]);
        if (c == '\\') slash = i;
        else if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) ++i;  // a trail byte is never a separator
    }
    std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = base.rfind('.');
    if (dot != std::string::npos) base.resize(dot);
    return base;
}

}  // namespace

int32_t RuleRecordLength(const WordCursor& words, int32_t start) {
    uint16_t code, x1, y1, x2, y2, u6;
    if (!words.Unit(start, 0, code) || !words.Unit(start, 2, x1) || !words.Unit(start, 3, y1) ||
        !words.Unit(start, 4, x2) || !words.Unit(start, 5, y2) || !words.Unit(start, 6, u6))
        return 0;
    int k = u6 == kRuleExtension ? 2 : 0;
    if (code == kRuleWithLine) {
        uint16_t u8, u10;
        if (!words.Unit(start, 8, u8)) return 0;
        if (u8 == kRuleArrowA || u8 == kRuleArrowB) k += 2;
        if (u8 != kRuleEnd) {
            if (!words.Unit(start, 10, u10)) return 0;
            if (u10 == kRuleArrowB) k += 2;
        }
    }
    if ((y1 == y2) || ((x1 & kCoordinateBits) == (x2 & kCoordinateBits))) {
        uint16_t u;
        if (!words.Unit(start, 6 + k, u)) return 0;
        if (u == kRuleStraightA) {
            k += 2;
            if (!words.Unit(start, 6 + k, u)) return 0;
        }
        if (u == kRuleStraightB) k += 2;
    }
    return (6 + k) / 2;
}

int32_t CS2Parser::ReadPictureRecord(const WordCursor& words, int32_t start) {
    uint16_t code, left, top, width, height;
    if (!words.Unit(start, 0, code) || !words.Unit(start, 2, left) || !words.Unit(start, 3, top) ||
        !words.Unit(start, 4, width) || !words.Unit(start, 5, height))
        return 0;
    int64_t extension = 0;
    if (code != kPictureRecord) {
        uint16_t count;
        if (!words.Unit(start, 9, count)) return 0;
        extension = 2 * int64_t(count) + 4;
    }
    const int64_t nameAt = 6 + extension;
    uint16_t first;
    if (!words.Unit(start, nameAt, first)) return 0;

    std::string name;
    int64_t length = 0;  // units after u[5]
    if (first != kLongName) {
        length = extension + kShortNameUnits;
        for (int i = 0; i < kShortNameUnits; ++i) {
            uint16_t u;
            if (!words.Unit(start, nameAt + i, u)) return 0;
            if ((u & 0xFF) == 0) break;
            name += char(u & 0xFF);
        }
    } else {
        uint16_t raw;
        if (!words.Unit(start, nameAt + 1, raw)) return 0;
        const int16_t count = int16_t(raw);
        // A negative count would put the record's end before its start.
        if (count < 0) return 0;
        length = extension + 2 + count;
        std::string path;
        const int64_t chars = 2 * (count / 2);
        for (int64_t i = 0; i < chars; ++i) {
            uint16_t u;
            if (!words.Unit(start, nameAt + 2 + i, u)) return 0;
            if ((u & 0xFF) == 0 || path.size() == kMaxPathChars) break;
            path += char(u & 0xFF);
        }
        name = PictureBaseName(std::move(path));
    }
    const int64_t occupied = (6 + length) / 2;
    if (!words.Holds(start, occupied)) return 0;

    if (m_arrImagePaths.size() < kMaxS2Pictures) {
        const int32_t l = left & kCoordinateBits, t = top;
        const Rect rect = MakeRect(l, t, l + (width & kCoordinateBits), t + height);
        std::string found;
        FindImageByExtensions(name, found, 1);
        auto picture = std::make_unique<CImagePath>(rect, name.c_str(), rect);
        picture->SetImage(found, 0.0, false);
        m_arrImagePaths.push_back(std::move(picture));
    }
    return int32_t(occupied);
}

// The walk's state: the open item, the line, the glyph size and the writing direction.
class CS2Parser::Decoder {
public:
    Decoder(CS2Parser& reader, const WordCursor& words) : reader_(reader), words_(words) {}

    void Walk() {
        for (int32_t index = reader_.m_nHeaderWords; index < words_.WordCount();) {
            const int32_t step = Step(index);
            if (step <= 0 || !words_.Holds(index, step)) break;
            index += step;
        }
        if (open_) Finish();
    }

private:
    // Handles the word at `index`; returns the words it took, 0 when the stream ends there.
    int32_t Step(int32_t index) {
        const uint32_t word = words_.Word(index);
        const uint16_t lo = word & 0xFFFF, hi = word >> 16;
        if (lo < kFirstOperation) {
            if (open_) {
                if (vertical_) reader_.AddGlyph(item_, line_, lo, w_, h_, word);
                else reader_.AddGlyph(item_, lo, line_, w_, h_, word);
            }
            return 1;
        }
        if (IsRuleRecord(lo)) return RuleRecordLength(words_, index);
        if (IsPictureRecord(lo)) return reader_.ReadPictureRecord(words_, index);
        switch (lo) {
            case kSetLine: SetLine(int16_t(hi)); break;
            case kSizeByNumbers: SizeByNumbers(hi); break;
            case kSizeByNumberBytes:
                if ((hi >> 8) < kSizeNumbers && (hi & 0xFF) < kSizeNumbers) {
                    w_ = RoundUpTo16(kSizeTable[hi >> 8]);
                    h_ = kSizeTable[hi & 0xFF];
                }
                break;
            case kWidthQuarters: w_ = RoundUpTo16(QuarterUnits(hi)); break;
            case kHeightQuarters: h_ = QuarterUnits(hi); break;
            case kVertical: vertical_ = true; break;
            case kHorizontal: vertical_ = false; break;
            case kSpace: Append(" "); break;
            case kLineBreak: Append("\r\n"); break;
            case kLinkItem:
                if (!open_) Open();
                item_.nLink = reader_.m_nItemCount + 1;
                break;
            case kEndItem:
            case kEndItemToo:
                if (open_) Finish();
                wp_ = hp_ = 0;
                break;
            case kPushOrigin: return 2;
            case kSkipTwo: return 3;
            case kSkipFive: return 6;
            default: break;
        }
        return 1;
    }

    void SetLine(int32_t p) {
        if (!open_) {
            Open();
        } else if (item_.nLink == 0 && std::llabs(int64_t(uint32_t(line_)) - p) > kLineJump) {
            Finish();
            wp_ = hp_ = 0;
            Open();
        }
        line_ = p;
    }

    void SizeByNumbers(uint16_t hi) {
        const unsigned a = (hi >> 5) & 0x1F, b = hi & 0x1F;
        if (a < kSizeNumbers && b < kSizeNumbers) {
            w_ = kSizeTable[a];
            h_ = kSizeTable[b];
        }
        const int32_t d = vertical_ ? std::abs(w_ - wp_) : std::abs(h_ - hp_);
        if (wp_ != 0 && hp_ != 0 && d > kSizeJump && open_) {
            Finish();
            Open();
            item_.nLink = reader_.m_nItemCount + 1;
        }
        wp_ = w_;
        hp_ = h_;
    }

    void Open() {
        item_ = St_ArtItem{};
        item_.nTextStart = textStart_;
        open_ = true;
    }

    void Finish() {
        textStart_ = reader_.FinishItem(item_);
        open_ = false;
    }

    void Append(std::string_view bytes) {
        if (!open_) return;
        std::copy(bytes.begin(), bytes.end(), reader_.m_pTextBuffer.data() + item_.nTextStart + item_.nTextLen);
        item_.nTextLen += int32_t(bytes.size());
    }

    CS2Parser& reader_;
    const WordCursor& words_;
    St_ArtItem item_;
    bool open_ = false;
    size_t textStart_ = 0;   // first free byte of the text buffer
    int32_t line_ = 0;       // y of horizontal lines, x of vertical columns
    int32_t w_ = 0, h_ = 0;  // glyph width and height
    int32_t wp_ = 0, hp_ = 0;// width and height at the last size-by-numbers
    bool vertical_ = false;
};

void CS2Parser::AddGlyph(St_ArtItem& item, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t word) {
    const Rect rect = MakeRect(x, y, x + width, y + height);
    m_arrGlyphRects.push_back(rect);
    const int32_t n = item.nGlyphs;
    item.rcBound = n == 0 ? rect : UnionRect(item.rcBound, rect);
    item.dMeanHeight = (n * item.dMeanHeight + height) / (n + 1);
    item.dMeanWidth = (n * item.dMeanWidth + width) / (n + 1);
    item.nGlyphs = n + 1;
    const uint16_t code = word >> 16;
    if (code == 0) return;
    char* text = m_pTextBuffer.data() + item.nTextStart;
    item.nTextLen += AppendS2Char(code, std::string_view(text, size_t(item.nTextLen)), text + item.nTextLen);
}

size_t CS2Parser::FinishItem(St_ArtItem& item) {
    ++m_nItemCount;
    size_t next = item.nTextStart;
    if (item.nGlyphs > 0) {
        m_pTextBuffer[item.nTextStart + size_t(item.nTextLen)] = '\0';
        item.nLayout = item.ItemLayout(m_arrGlyphRects);
        next = item.nTextStart + size_t(item.nTextLen) + 1;
    } else {
        item.nTextLen = 0;
    }
    // Only items with text make blocks; the others count for the link numbers alone.
    if (item.nTextLen > 0 && m_arrItems.size() < kMaxS2TextItems) m_arrItems.push_back(item);
    m_arrGlyphRects.clear();
    return next;
}

bool CS2Parser::DecodePage() {
    MeasurePageImage();
    const int32_t streamWords = m_pView ? std::max(0, m_nWordCount - m_nHeaderWords) : 0;
    // A word adds at most two bytes of text, and the word that opens an item pays for
    // its terminating zero.
    m_pTextBuffer.assign(size_t(streamWords) * 2 + 1, '\0');
    if (streamWords == 0) return true;
    const WordCursor words(m_pView->Data(), m_nWordCount);
    Decoder(*this, words).Walk();
    return true;
}

std::string_view CS2Parser::ItemText(const St_ArtItem& item) const {
    return std::string_view(m_pTextBuffer.data() + item.nTextStart, size_t(item.nTextLen));
}

}  // namespace kestrum
