#include "layout/ArticleRegion.h"

#include "model/Article.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"

namespace kestrum {
namespace {

constexpr double kCoverRatio = 0.5;  // of either area

class RegionCollector {
public:
    template <class Block>
    void Add(const Block& block) {
        Rect r;
        block.GetRegionRect(&r);
        region_ = UnionRect(region_, r);
        collected_ = true;
    }
    bool collected() const { return collected_; }
    const Rect& region() const { return region_; }

private:
    Rect region_ = MakeRect(0, 0, 0, 0);
    bool collected_ = false;
};

double Area(const Rect& r) { return (double(r.right) - r.left) * (double(r.bottom) - r.top); }

}  // namespace

bool GetArticleRegion(const CArticle& article, int flags, Rect& region) {
    RegionCollector c;
    if (flags & kRegionTitles) {
        for (const CTextBlock* title : {article.m_pMainTitle, article.m_pSubTitle, article.m_pLeadTitle})
            if (title) c.Add(*title);
    }
    if ((flags & kRegionBody) && article.m_pBody) c.Add(*article.m_pBody);
    if (flags & kRegionCaptions) {
        for (const CPicBlock* pic : article.m_arrPics) {
            const CTextBlock* caption = pic->m_pCaption;
            if (caption && (!caption->m_arrParts.IsEmpty() || caption->m_nLevel == 0)) c.Add(*caption);
        }
    }
    if (flags & kRegionPictures) {
        for (const CPicBlock* pic : article.m_arrPics) c.Add(*pic);
    }
    region = c.region();
    return c.collected();
}

bool ArticleCovers(const CArticle& article, const Rect& rect) {
    Rect region;
    GetArticleRegion(article, kRegionAll, region);
    Rect common;
    if (!IntersectRect(common, region, rect)) return false;
    const double shared = Area(common);
    return shared / Area(region) > kCoverRatio || shared / Area(rect) > kCoverRatio;
}

}  // namespace kestrum
