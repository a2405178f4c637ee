// Whether a block or picture belongs under an article's titles or among its body's columns.
#include "layout/AssemblySteps.h"

#include "layout/ArticleRegion.h"
#include "layout/Geometry.h"
#include "model/Article.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"

#include <algorithm>
#include <initializer_list>

namespace kestrum {
namespace {

constexpr double kCloseOverlap = 0.8;       // span ratio on both axes
constexpr double kContained = 0.95;         // shorter-interval ratio: one extent inside the other
constexpr double kSomeOverlap = 0.2;        // span ratio on the other axis
constexpr double kWideTitle = 6.0;          // × mean text size
constexpr double kUnderTitleAlignment = 0.8;  // shorter-interval ratio along the title
constexpr double kGapPerTitleSize = 0.2;    // × the title's font size
constexpr double kGapPerMeanSize = 2.0;     // × mean text size
constexpr double kPictureRatioProduct = 0.3;   // shorter-interval ratios multiplied
constexpr double kPictureSpanProduct = 0.12;   // span ratios multiplied
constexpr double kPictureInRegion = 0.9;    // shorter-interval ratio on both axes
constexpr int kFewBodyLevels = 3;           // a body below this level is tested as one block

// Span (r) and shorter-interval (s) ratios of two rectangles' extents.
struct Extents {
    double rx = 0.0, sx = 0.0, ry = 0.0, sy = 0.0;
};

Extents RelateExtents(const Rect& a, const Rect& b) {
    Extents e;
    e.rx = OverlapRatio(a.left, a.right, b.left, b.right, &e.sx);
    e.ry = OverlapRatio(a.top, a.bottom, b.top, b.bottom, &e.sy);
    return e;
}

// Mostly on top of each other, or one inside the other along an axis and overlapping on the other.
bool OverlapsClosely(const Extents& e) {
    return (e.rx > kCloseOverlap && e.ry > kCloseOverlap) || (e.sx > kContained && e.ry > kSomeOverlap) ||
           (e.sy > kContained && e.rx > kSomeOverlap);
}

bool MatchesTitle(const CTextBlock& title, const Rect& q, bool horizontal, double meanTextSize, const Extents& e) {
    const Rect& t = title.m_rect;
    const double limit = kGapPerTitleSize * title.m_dFontSize + kGapPerMeanSize * meanTextSize;
    if (OverlapsClosely(e)) return true;
    if (e.sx > kContained && e.sy > kContained && double(t.right) - t.left > kWideTitle * meanTextSize) return true;
    if (horizontal)
        return e.rx > 0 && e.sx > kUnderTitleAlignment && -OverlapLength(t.top, t.bottom, q.top, q.bottom) < limit &&
               t.top < q.top;
    return e.ry > 0 && e.sy > kUnderTitleAlignment && -OverlapLength(t.left, t.right, q.left, q.right) < limit;
}

}  // namespace

bool MatchTitles(const CArticle& article, const Rect& rect, double meanTextSize, double& score) {
    if (!article.m_pMainTitle) return false;
    const bool horizontal = IsHorizontalLayout(article.m_pMainTitle->m_nLayout);
    for (const CTextBlock* title : {article.m_pMainTitle, article.m_pSubTitle, article.m_pLeadTitle}) {
        if (!title) continue;
        const Extents e = RelateExtents(title->m_rect, rect);
        score = horizontal ? e.rx : e.ry;
        if (MatchesTitle(*title, rect, horizontal, meanTextSize, e)) return true;
    }
    return false;
}

bool MatchPicture(const CArticle& article, const CPicBlock& pic, double meanTextSize, double& score) {
    if (MatchTitles(article, pic.m_rect, meanTextSize, score)) return true;
    const CTextBlock* body = article.m_pBody;
    if (!article.m_pMainTitle || !body) return false;

    const auto matchesPart = [&](const CTextBlock& part) {
        const Extents e = RelateExtents(part.m_rect, pic.m_rect);
        const bool among = OverlapsClosely(e) || (e.rx > kSomeOverlap && e.ry > kSomeOverlap &&
                                                  e.sx * e.sy > kPictureRatioProduct && e.rx * e.ry > kPictureSpanProduct);
        if (among) score = std::max(e.rx, e.ry);
        return among;
    };
    if (body->m_nLevel < kFewBodyLevels) {
        if (matchesPart(*body)) return true;
    } else if (std::any_of(body->m_arrParts.begin(), body->m_arrParts.end(), [&](const CTextBlock* part) { return matchesPart(*part); })) {
        return true;
    }

    Rect region, picRegion;
    GetArticleRegion(article, kRegionTitles | kRegionBody, region);
    pic.GetRegionRect(&picRegion);
    double sx = 0.0, sy = 0.0;
    OverlapRatio(region.left, region.right, picRegion.left, picRegion.right, &sx);
    OverlapRatio(region.top, region.bottom, picRegion.top, picRegion.bottom, &sy);
    return sx > kPictureInRegion && sy > kPictureInRegion;
}

}  // namespace kestrum
