// Block finishing: the page's records become the host's text and picture blocks.
#include "psreader/PSParser.h"

#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/Image.h"
#include "platform/Files.h"
#include "psreader/ImagePath.h"
#include "textasm/BlockStats.h"
#include "textasm/BlockText.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <future>
#include <memory>
#include <optional>
#include <span>
#include <thread>
#include <vector>

namespace kestrum {
namespace {

constexpr double kTitlePromotion = 1.2;      // × page mean font size
constexpr double kMinRotation = 0.01;        // degrees; below this a picture is upright
// Where the search for the outline's bounds starts (page units).
constexpr int32_t kPointsStartMinX = 10000000;
constexpr int32_t kPointsStartMinY = 100000000;

// The rectangle a block shows the host: its outline's bounds when it has a real
// outline, else its character bounds (text) or its visible rectangle, turned by the
// picture's rotation (pictures).
Rect BlockRect(const CBaseBlock& b) {
    Rect rect = b.m_rcBound;
    if (b.m_nKind == kBlockPicture) {
        rect = b.m_rcBox;
        if (std::fabs(b.m_dAngle) > kMinRotation) {
            const int32_t cx = trunc32((double(rect.left) + rect.right) / 2);
            const int32_t cy = trunc32((double(rect.top) + rect.bottom) / 2);
            CImagePath::RotateRect(rect, cx, cy, b.m_dAngle);
        }
    }
    if (b.m_arrPoints.size() > 2) {
        rect = MakeRect(kPointsStartMinX, kPointsStartMinY, 0, 0);
        for (const Point& p : b.m_arrPoints) {
            rect.left = std::min(rect.left, p.x);
            rect.top = std::min(rect.top, p.y);
            rect.right = std::max(rect.right, p.x);
            rect.bottom = std::max(rect.bottom, p.y);
        }
    }
    return rect;
}

bool IsText(const CBaseBlock& b) { return !b.m_bSkip && (b.m_nKind == kBlockTitle || b.m_nKind == kBlockBody); }

// What a text block gives its host block: read from the block's characters alone.
struct TextResult {
    std::optional<FontStats> stats;  // none: the block makes no host block
    BlockTexts texts;
    int layout = 0;
};

TextResult ReadText(const CBaseBlock& b, std::span<const St_ReplaceCode> replaceCodes,
                    std::span<const St_ReplaceCode> symbolCodes) {
    // The texts first: their pass, long on work, hides the wait for the characters,
    // which the statistics then find at hand.
    TextResult result;
    BlockTexts texts = RenderBlockText(b, replaceCodes, symbolCodes);
    result.stats = ReadFontStats(b);
    if (!result.stats) return result;
    result.texts = std::move(texts);
    result.layout = GetLayoutCode(b);
    return result;
}

// A page this large is read on more than one thread: below it, starting a thread costs
// more than it saves.
constexpr size_t kCharsForThreads = 100000;
constexpr unsigned kMaxThreads = 4;

// The text results of the blocks, by block index (empty for other blocks). The blocks
// are only read; the threads take them one at a time, the next not yet taken, so that
// one that is held up leaves its share to the others.
std::vector<TextResult> ReadTexts(const std::vector<CBaseBlock>& blocks, std::span<const St_ReplaceCode> replaceCodes,
                                  std::span<const St_ReplaceCode> symbolCodes) {
    std::vector<TextResult> results(blocks.size());
    std::atomic<size_t> next{0};
    auto readBlocks = [&] {
        for (size_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < blocks.size();)
            if (IsText(blocks[i])) results[i] = ReadText(blocks[i], replaceCodes, symbolCodes);
    };
    size_t total = 0;
    for (const CBaseBlock& b : blocks)
        if (IsText(b)) total += b.m_arrChars.size();
    const unsigned threads = total < kCharsForThreads ? 1 : std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads);
    std::vector<std::future<void>> others;
    for (unsigned t = 1; t < threads; ++t) others.push_back(std::async(std::launch::async, readBlocks));
    readBlocks();
    for (std::future<void>& other : others) other.get();  // passes on what a thread threw
    return results;
}

}  // namespace

bool CPSParser::FinishPage() {
    CPageInfo* page = m_pPageInfo.get();
    double chars = 0.0, weighted = 0.0;
    std::vector<TextResult> results = ReadTexts(m_arrBlocks, m_arrReplaceCodes, m_arrSymbolCodes);

    for (size_t i = 0; i < m_arrBlocks.size(); ++i) {
        const CBaseBlock& b = m_arrBlocks[i];
        if (b.m_bSkip) continue;
        const Rect rect = BlockRect(b);

        if (b.m_nKind == kBlockTitle || b.m_nKind == kBlockBody) {
            TextResult& result = results[i];
            if (!result.stats) continue;
            auto text = std::make_unique<CTextBlock>(page);
            text->m_nKind = b.m_nKind;
            text->m_nID = b.m_nID;
            text->m_nArticle = b.m_nArticle;
            text->m_strFontName = std::move(result.stats->fontName);
            text->m_dFontSize = result.stats->avgSize;
            text->m_strText = std::move(result.texts.text);
            text->m_strHtml = std::move(result.texts.html);
            text->m_nLayout = result.layout;
            text->m_rect = rect;
            chars += double(b.m_arrChars.size());
            weighted += double(b.m_arrChars.size()) * text->m_dFontSize;
            m_arrTextBlocks.Add(text.release());
        } else if (b.m_nKind == kBlockPicture) {
            auto pic = std::make_unique<CPicBlock>(page);
            pic->m_nKind = kBlockPicture;
            pic->m_nID = b.m_nID;
            pic->m_nArticle = b.m_nArticle;
            pic->m_strName = b.m_strFileName;
            pic->m_strImagePath = b.m_strImagePath;
            if (!b.m_strImagePath.empty() && PathExists(b.m_strImagePath))
                pic->m_pImage = std::make_unique<CxImage>(b.m_strImagePath, CxImage::FindType(b.m_strImagePath));
            pic->m_rect = rect;
            m_arrPicBlocks.Add(pic.release());
        }
    }

    // A page without text has no mean size to speak of: 0 rather than 0 / 0.
    const double mean = chars > 0.0 ? weighted / chars : 0.0;
    if (page) page->m_dMeanTextSize = mean;
    for (CTextBlock* text : m_arrTextBlocks)
        if (text->m_nKind == kBlockBody && text->m_dFontSize > kTitlePromotion * mean) text->m_nKind = kBlockTitle;
    return true;
}

}  // namespace kestrum
