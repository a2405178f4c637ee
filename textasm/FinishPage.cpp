// Block finishing: the page's records become the host's text and picture blocks.
#include "psreader/PSParser.h"

#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/Image.h"
#include "platform/Files.h"
#include "psreader/ImagePath.h"
#include "textasm/TextReadAhead.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
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

}  // namespace

bool CPSParser::FinishPage() {
    CPageInfo* page = m_pPageInfo.get();
    double chars = 0.0, weighted = 0.0;
    // LoadPage hands the text blocks over as they are read; called alone, FinishPage
    // hands them all over now.
    std::vector<TextResult> results;
    if (m_pTextAhead) {
        results = m_pTextAhead->Take(m_arrBlocks.size());
    } else {
        TextReadAhead ahead(m_arrReplaceCodes, m_arrSymbolCodes);
        for (size_t i = 0; i < m_arrBlocks.size(); ++i)
            if (IsTextBlock(m_arrBlocks[i])) ahead.Offer(i, m_arrBlocks[i]);
        results = ahead.Take(m_arrBlocks.size());
    }

    for (size_t i = 0; i < m_arrBlocks.size(); ++i) {
        const CBaseBlock& b = m_arrBlocks[i];
        if (b.m_bSkip) continue;
        const Rect rect = BlockRect(b);

        if (IsTextBlock(b)) {
            TextResult& result = results[i];
            // A block LoadPage did not hand over: one the list held before it began.
            if (!result.read) result = ReadText(b, m_arrReplaceCodes, m_arrSymbolCodes);
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
