// Title groups: neighbouring title lines of one writing direction become an
// article's lead title, main title and subtitle.
#include "layout/AssemblySteps.h"

#include "layout/Composite.h"
#include "layout/Geometry.h"
#include "layout/SortOrders.h"
#include "model/Article.h"
#include "model/TextBlock.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <unordered_set>
#include <vector>

namespace kestrum {
namespace {

constexpr double kGroupAlignment = 0.8;    // of the shorter extent across the lines
constexpr double kGapPerLineSize = 0.25;   // × the larger font size of the two lines
constexpr double kGapPerMeanSize = 1.5;    // × the page's mean text size
constexpr double kSubTitleSizeSpread = 1.0;  // page units a subtitle line may differ from its first

// The titles still waiting for a group.
struct TitlePool {
    std::vector<CTextBlock*> lines;  // in the order they wait
    // Lines given back by a group whose direction could not be told: they may start a
    // group of their own but no group takes them in, so a group never forms again
    // around the same lines.
    std::unordered_set<const CTextBlock*> seedsOnly;

    void GiveBack(std::span<CTextBlock* const> returned) { lines.insert(lines.end(), returned.begin(), returned.end()); }
};

// D joins the group of M when it shares M's direction and stands in line with it
// (under it, or beside it for vertical text) with a small gap.
bool JoinsLine(const CTextBlock& m, const CTextBlock& d, double meanTextSize) {
    if (CombineLayout(d, m.m_nLayout) == kLayoutUnknown) return false;
    const double limit = kGapPerLineSize * std::max(d.m_dFontSize, m.m_dFontSize) + kGapPerMeanSize * meanTextSize;
    const Rect& a = m.m_rect;
    const Rect& b = d.m_rect;
    double aligned = 0.0;
    if (IsHorizontalLayout(m.m_nLayout)) {
        OverlapRatio(a.left, a.right, b.left, b.right, &aligned);
        return aligned >= kGroupAlignment && -OverlapLength(a.top, a.bottom, b.top, b.bottom) <= limit;
    }
    OverlapRatio(a.top, a.bottom, b.top, b.bottom, &aligned);
    return aligned >= kGroupAlignment && -OverlapLength(a.left, a.right, b.left, b.right) <= limit;
}

// The seed's group, grown breadth first: each member in turn takes every waiting
// line that joins it.
void GrowTitleGroup(TitlePool& pool, CTextBlock* seed, double meanTextSize, CTextBlockArray& group) {
    group.Add(seed);
    const size_t count = pool.lines.size();
    // Positions in the pool, in pool order, of the lines no member has taken yet.
    std::vector<size_t> waiting;
    for (size_t i = 0; i < count; ++i)
        if (!pool.seedsOnly.contains(pool.lines[i])) waiting.push_back(i);
    std::vector<char> joined(count, 0);
    for (int m = 0; m < group.GetSize() && !waiting.empty(); ++m) {
        const CTextBlock& member = *group[m];
        size_t still = 0;
        for (size_t w = 0; w < waiting.size(); ++w) {
            const size_t i = waiting[w];
            if (JoinsLine(member, *pool.lines[i], meanTextSize)) {
                joined[i] = 1;
                group.Add(pool.lines[i]);
            } else {
                waiting[still++] = i;
            }
        }
        waiting.resize(still);
    }
    std::vector<CTextBlock*> left;
    for (size_t i = 0; i < count; ++i)
        if (!joined[i]) left.push_back(pool.lines[i]);
    pool.lines = std::move(left);
}

// The direction the group's lines are written in: the last definite one, the main
// title's own above all; a single column says nothing.
int GroupCode(const CTextBlockArray& group, const CTextBlock& main) {
    int code = kLayoutSingleColumn;
    for (int i = 1; i < group.GetSize(); ++i)
        if (group[i]->m_nLayout != kLayoutSingleColumn) code = group[i]->m_nLayout;
    if (main.m_nLayout != kLayoutSingleColumn) code = main.m_nLayout;
    return code;
}

// The lines before the main title in reading order merge into `before`, those after it into `after`.
void SplitAroundMainTitle(const CTextBlockArray& sorted, const CTextBlock* main, CTextBlock*& before,
                          CTextBlock*& after) {
    const std::span<CTextBlock* const> lines(sorted.Items());
    const size_t at = size_t(std::find(lines.begin(), lines.end(), main) - lines.begin());
    before = MergeBlocks(lines.first(at));
    after = MergeBlocks(lines.subspan(at + 1));
}

void AssignTitleRoles(CArticle& article, CTextBlockArray& group, TitlePool& pool) {
    CTextBlock* main = group[0];
    for (CTextBlock* line : group)
        if (line->m_dFontSize > main->m_dFontSize) main = line;
    article.m_pMainTitle = main;
    if (group.GetSize() == 1) return;

    switch (GroupCode(group, *main)) {
        case kLayoutLeftToRight:
        case kLayoutRightToLeft:
            SortTextBlocks(group, kTextByRows);
            SplitAroundMainTitle(group, main, article.m_pLeadTitle, article.m_pSubTitle);
            return;
        case kLayoutColumnsRightwards:
        case kLayoutSingleColumn:
            SortTextBlocks(group, kTextByColumns);
            SplitAroundMainTitle(group, main, article.m_pLeadTitle, article.m_pSubTitle);
            return;
        case kLayoutColumnsLeftwards:
            SortTextBlocks(group, kTextByColumns);
            SplitAroundMainTitle(group, main, article.m_pSubTitle, article.m_pLeadTitle);
            return;
        default:
            // Without a direction there is no before and after: the other lines wait
            // again, to become titles of their own, rather than be lost.
            for (CTextBlock* line : group) {
                if (line == main) continue;
                pool.seedsOnly.insert(line);
                pool.lines.push_back(line);
            }
    }
}

// A subtitle line stays with the first while it is about as large, and of its
// article where it is exactly as large.
bool StaysInSubTitle(const CTextBlock& line, const CTextBlock& first) {
    if (std::fabs(line.m_dFontSize - first.m_dFontSize) > kSubTitleSizeSpread) return false;
    return !(line.m_dFontSize == first.m_dFontSize && line.m_nArticle != first.m_nArticle);
}

// Lines from the first one that differs in size on go back to the pool: they can head an article of their own.
void TrimSubTitle(CArticle& article, TitlePool& pool) {
    CTextBlock* sub = article.m_pSubTitle;
    if (!sub || sub->m_arrParts.GetSize() <= 1) return;
    const std::span<CTextBlock* const> lines(sub->m_arrParts.Items());
    size_t kept = 1;
    while (kept < lines.size() && StaysInSubTitle(*lines[kept], *lines[0])) ++kept;
    if (kept == lines.size()) return;

    pool.GiveBack(lines.subspan(kept));
    const std::vector<CTextBlock*> staying(lines.begin(), lines.begin() + std::ptrdiff_t(kept));
    sub->m_arrParts.RemoveAll();
    delete sub;
    article.m_pSubTitle = MergeBlocks(staying);
}

}  // namespace

// Every pass places the main title of its group for good and gives back only other
// lines, so there are at most as many passes as titles; a pass tests each waiting
// line against members only until one takes it.
void BuildTitleArticles(Assembly& a, CTextBlockArray& titles) {
    TitlePool pool;
    pool.lines = std::move(titles.Items());
    titles.RemoveAll();
    while (!pool.lines.empty()) {
        CTextBlock* seed = pool.lines.front();
        pool.lines.erase(pool.lines.begin());
        pool.seedsOnly.erase(seed);
        auto article = std::make_unique<CArticle>(seed->m_pPageInfo);
        CTextBlockArray group;
        GrowTitleGroup(pool, seed, a.meanTextSize, group);
        AssignTitleRoles(*article, group, pool);
        TrimSubTitle(*article, pool);
        a.articles.Add(article.release());
    }
}

}  // namespace kestrum
