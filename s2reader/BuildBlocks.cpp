// The page's blocks from the decoded stream: a text block per item with text, a
// picture block per picture reference.
#include "layout/LayoutCodes.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/Image.h"
#include "platform/Files.h"
#include "psreader/ImagePath.h"
#include "s2reader/S2Parser.h"

namespace kestrum {

namespace {

constexpr double kTitleHeight = 110.0;  // S2 units: items of taller mean glyphs are titles

}  // namespace

bool CS2Parser::BuildBlocks() {
    double glyphs = 0.0, weighted = 0.0;
    CPageInfo* page = m_pPageInfo.get();
    for (const St_ArtItem& item : m_arrItems) {
        if (item.nTextLen == 0) continue;
        auto text = std::make_unique<CTextBlock>(page);
        text->m_nKind = item.dMeanHeight > kTitleHeight ? kTextTitle : kTextBody;
        text->m_nID = 0;
        text->m_nArticle = item.nLink;
        text->m_dFontSize = item.nLayout == kLayoutSingleColumn ? item.dMeanWidth : item.dMeanHeight;
        text->m_strText = ItemText(item);
        text->m_nLayout = item.nLayout;
        text->m_rect = item.rcBound;
        glyphs += item.nGlyphs;
        weighted += item.nGlyphs * text->m_dFontSize;
        m_arrTextBlocks.Add(text.release());
    }
    for (const auto& reference : m_arrImagePaths) {
        auto pic = std::make_unique<CPicBlock>(page);
        pic->m_strName = reference->m_strName;
        pic->m_strImagePath = reference->m_strImagePath;
        if (!pic->m_strImagePath.empty() && PathExists(pic->m_strImagePath))
            pic->m_pImage = std::make_unique<CxImage>(pic->m_strImagePath, CxImage::FindType(pic->m_strImagePath));
        pic->m_rect = reference->m_rcClip;
        m_arrPicBlocks.Add(pic.release());
    }
    // A page without text has no mean size to speak of: 0 rather than 0 / 0.
    page->m_dMeanTextSize = glyphs > 0.0 ? weighted / glyphs : 0.0;
    return true;
}

}  // namespace kestrum
