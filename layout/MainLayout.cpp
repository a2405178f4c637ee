// A main title set in a single column takes the column direction of its article.
#include "layout/AssemblySteps.h"

#include "layout/LayoutCodes.h"
#include "model/Article.h"
#include "model/TextBlock.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

namespace kestrum {
namespace {

// Whether the article's columns run leftwards: its other titles tell first, then
// where its body, lead title or subtitle stands against the main title.
bool ColumnsRunLeftwards(const CArticle& article) {
    for (const CTextBlock* title : {article.m_pLeadTitle, article.m_pSubTitle})
        if (title && title->m_nLayout != kLayoutSingleColumn) return title->m_nLayout == kLayoutColumnsLeftwards;
    const Rect& main = article.m_pMainTitle->m_rect;
    if (const CTextBlock* body = article.m_pBody)
        return int64_t{body->m_rect.left} + body->m_rect.right <= int64_t{main.left} + main.right;
    if (article.m_pLeadTitle) return article.m_pLeadTitle->m_rect.top > main.top;
    if (article.m_pSubTitle) return article.m_pSubTitle->m_rect.top < main.top;
    return false;
}

}  // namespace

void ResolveMainLayout(CArticle& article) {
    CTextBlock* main = article.m_pMainTitle;
    if (!main || main->m_nLayout != kLayoutSingleColumn) return;
    const bool leftwards = ColumnsRunLeftwards(article);
    // Read leftwards, the lines named before the main title stand after it.
    if (leftwards) std::swap(article.m_pLeadTitle, article.m_pSubTitle);
    main->m_nLayout = leftwards ? kLayoutColumnsLeftwards : kLayoutColumnsRightwards;
}

}  // namespace kestrum
