// Titles left without anything of their own: a line level with another article's
// main title is that article's subtitle or lead title.
#include "layout/AssemblySteps.h"

#include "layout/ArticleRegion.h"
#include "layout/Geometry.h"
#include "model/Article.h"
#include "model/TextBlock.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace kestrum {
namespace {

constexpr double kGapPerTitleSize = 0.25;  // × the larger font size of the two titles
constexpr double kGapPerMeanSize = 2.1;    // × mean text size

bool IsBareTitle(const CArticle& article) {
    return article.m_pMainTitle && !article.m_pLeadTitle && !article.m_pSubTitle && !article.m_pBody &&
           article.m_arrPics.IsEmpty();
}

// Places `title` in a free title role of `article` when it stands level with the main
// title and close beside it: lower and smaller as subtitle, higher and smaller as lead
// title; higher and larger, it becomes the main title over the old one.
bool PlaceTitle(CArticle& article, CTextBlock* title, double meanTextSize) {
    CTextBlock* main = article.m_pMainTitle;
    if (!main || (article.m_pLeadTitle && article.m_pSubTitle)) return false;
    if (!ArticleCovers(article, title->m_rect)) return false;
    const Rect& m = main->m_rect;
    const Rect& f = title->m_rect;
    const double limit = kGapPerTitleSize * std::max(title->m_dFontSize, main->m_dFontSize) + kGapPerMeanSize * meanTextSize;
    if (!(OverlapRatio(m.top, m.bottom, f.top, f.bottom) > 0) || !(-OverlapLength(m.left, m.right, f.left, f.right) < limit))
        return false;

    const bool smaller = title->m_dFontSize < main->m_dFontSize;
    if (f.top > m.top) {
        if (article.m_pSubTitle || !smaller) return false;
        article.m_pSubTitle = title;
        return true;
    }
    if (f.top == m.top) return false;
    if (title->m_dFontSize > main->m_dFontSize && !article.m_pSubTitle) {
        article.m_pSubTitle = main;
        article.m_pMainTitle = title;
        return true;
    }
    if (!smaller || article.m_pLeadTitle) return false;
    article.m_pLeadTitle = title;
    return true;
}

}  // namespace

void RehomeBareTitles(Assembly& a) {
    std::vector<CTextBlock*> bare;
    std::vector<CArticle*> kept;
    for (CArticle* article : a.articles) {
        if (!IsBareTitle(*article)) {
            kept.push_back(article);
            continue;
        }
        // The title leaves the article before the article goes, which would delete it.
        bare.push_back(std::exchange(article->m_pMainTitle, nullptr));
        delete article;
    }
    a.articles.Items() = std::move(kept);

    for (CArticle* article : a.articles)
        std::erase_if(bare, [&](CTextBlock* title) { return PlaceTitle(*article, title, a.meanTextSize); });
    for (CTextBlock* title : bare) {
        auto article = std::make_unique<CArticle>(title->m_pPageInfo);
        article->m_pMainTitle = title;
        a.articles.Add(article.release());
    }
}

}  // namespace kestrum
