// Article assembly with grouping: header band, footer lines, captions, then the
// page's titles, bodies and pictures assembled into articles.
#include "parser/ParserFile.h"

#include "layout/AssembleBlocks.h"
#include "layout/SortOrders.h"
#include "model/Article.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "platform/Mbcs.h"

#include <algorithm>
#include <memory>

namespace kestrum {
namespace {

constexpr double kFullHeightTop = 0.03;      // × page height: a picture from above this...
constexpr double kFullHeightBottom = 0.97;   // ...to below this spans the page, never a header
constexpr double kHeaderBandBottom = 0.045;  // × page height: header blocks end above this
constexpr double kFooterTop = 0.95;          // × page height: footer lines start below this
constexpr double kFooterWidth = 0.9;         // × page width: footer lines are wider than this

// A text block standing for a picture, so that the picture can take part in the
// header test with the text.
CTextBlock* MakePlaceholder(const CPicBlock& pic) {
    auto placeholder = std::make_unique<CTextBlock>(pic.m_pPageInfo);
    placeholder->m_rect = pic.m_rect;
    placeholder->m_nArticle = pic.m_nArticle;
    placeholder->m_nID = pic.m_nID;
    placeholder->m_nKind = kTextPicturePlaceholder;
    placeholder->m_strText = pic.m_strName.c_str();  // the name as text: up to its first NUL
    return placeholder.release();
}

// Moves the picture a placeholder stands for from `pictures` to `taken`.
void TakePlaceholderPicture(const CTextBlock& placeholder, CPicBlockArray& pictures, CPicBlockArray& taken) {
    auto& items = pictures.Items();
    const auto it = std::find_if(items.begin(), items.end(), [&](const CPicBlock* pic) {
        return pic->m_nArticle == placeholder.m_nArticle && pic->m_nID == placeholder.m_nID &&
               MbEqualNoCase(pic->m_strName, placeholder.m_strText);
    });
    if (it == items.end()) return;
    taken.Add(*it);
    items.erase(it);
}

bool IsFooterLine(const CTextBlock& block, const CPageInfo& page) {
    return block.m_nKind == kTextBody && double(block.m_rect.right) - block.m_rect.left > kFooterWidth * page.m_dWidth &&
           block.m_rect.top > kFooterTop * page.m_dHeight;
}

}  // namespace

void CParserFile::GroupArticles() {
    CArticleArray header, footer;
    ExtractHeaderBand(header);
    ExtractFooterLines(footer);
    AttachCaptions();
    AssembleBlocks(*m_pArticles, m_arrTextBlocks, &m_arrPicBlocks, *m_pPageInfo);
    m_pArticles->Append(header);
    m_pArticles->Append(footer);
    header.RemoveAll();
    footer.RemoveAll();
    FinishArticles();
}

void CParserFile::ExtractHeaderBand(CArticleArray& header) {
    SortPicBlocks(m_arrPicBlocks, kPicByRows);
    CTextBlockArray placeholders;
    const double height = m_pPageInfo->m_dHeight;
    for (const CPicBlock* pic : m_arrPicBlocks)
        if (!(pic->m_rect.top < kFullHeightTop * height && pic->m_rect.bottom > kFullHeightBottom * height))
            placeholders.Add(MakePlaceholder(*pic));
    m_arrTextBlocks.Append(placeholders);

    if (!m_arrTextBlocks.IsEmpty()) {
        SortTextBlocks(m_arrTextBlocks, kTextByRows);
        auto& items = m_arrTextBlocks.Items();
        const auto bandEnd = std::find_if(items.begin(), items.end(), [&](const CTextBlock* block) {
            return !(block->m_rect.bottom < kHeaderBandBottom * m_dPageHeight);
        });
        if (bandEnd != items.begin()) {
            CTextBlockArray texts;
            CPicBlockArray pictures;
            for (auto it = items.begin(); it != bandEnd; ++it) {
                if ((*it)->m_nKind == kTextPicturePlaceholder)
                    TakePlaceholderPicture(**it, m_arrPicBlocks, pictures);
                else
                    texts.Add(*it);
            }
            items.erase(items.begin(), bandEnd);
            AssembleBlocks(header, texts, &pictures, *m_pPageInfo);
        }
        std::erase_if(items, [](const CTextBlock* block) { return block->m_nKind == kTextPicturePlaceholder; });
    }
    placeholders.DeleteAll();
}

void CParserFile::ExtractFooterLines(CArticleArray& footer) {
    SortTextBlocks(m_arrTextBlocks, kTextByRows);
    auto& items = m_arrTextBlocks.Items();
    // The first block is never a footer: a page is not all footer.
    while (items.size() > 1 && IsFooterLine(*items.back(), *m_pPageInfo)) {
        auto article = std::make_unique<CArticle>(items.back()->m_pPageInfo);
        article->m_pBody = items.back();
        items.pop_back();
        footer.Add(article.release());
    }
}

}  // namespace kestrum
