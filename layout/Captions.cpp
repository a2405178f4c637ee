#include "layout/Captions.h"

#include "layout/Composite.h"
#include "layout/Geometry.h"
#include "layout/SortOrders.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/ParserFile.h"

#include <array>
#include <cstdint>
#include <vector>

namespace kestrum {
namespace {

constexpr double kSideTolerance = 0.006;    // × page width (height): slack of "within the picture"
constexpr double kGapPerFontSize = 1.2;     // × the block's font size: widest gap to the picture
constexpr double kMaxOverhang = 0.5;        // × the picture's width
constexpr double kInsideRatio = 100.0;
constexpr size_t kMaxCaptionBytes = 400;    // longer text is an article, not a caption
constexpr double kNearerBy = 2.0;           // page units a later picture of one side must be nearer
constexpr size_t kShortTextBytes = 2;       // a lone character or two counts as no text

double Width(const Rect& r) { return double(r.right) - r.left; }
double Height(const Rect& r) { return double(r.bottom) - r.top; }

// Below beats left and right, which beat above; inside beats everything. Between
// left and right, a right-hand picture wins over a left-hand one only by being nearer.
bool ReplacesBest(const CaptionRelation& candidate, const CaptionRelation& best) {
    const bool rightAfterLeft = best.side == kCaptionLeft && candidate.side == kCaptionRight;
    if (candidate.side == kCaptionInside) return true;
    if (best.side < candidate.side && !rightAfterLeft) return true;
    return (candidate.side == best.side || rightAfterLeft) && candidate.distance < best.distance - kNearerBy;
}

// The candidates of one side and writing direction.
struct CaptionBucket {
    int longParts = 0;
    double ratioSum = 0.0;
    CTextBlockArray parts;

    double MeanRatio() const { return ratioSum / parts.GetSize(); }
    bool Beats(const CaptionBucket& best) const {
        if (longParts > best.longParts) return true;
        if (longParts == best.longParts && best.parts.IsEmpty()) return true;
        return !best.parts.IsEmpty() && !parts.IsEmpty() && best.MeanRatio() < MeanRatio();
    }
};

// Side by side with a direction: vertical (or undetermined) candidates form their own groups.
constexpr int kCaptionBuckets = kCaptionSides * 2;

// The container goes; the blocks it held do not.
void DeleteContainer(CTextBlock* container) {
    container->m_arrParts.RemoveAll();
    delete container;
}

}  // namespace

std::optional<CaptionRelation> RelateToPicture(const CTextBlock& text, const CPicBlock& pic, const CPageInfo& page) {
    const Rect& t = text.m_rect;
    const Rect& p = pic.m_rect;
    const double tolX = kSideTolerance * page.m_dWidth;
    const double tolY = kSideTolerance * page.m_dHeight;
    const double maxGap = kGapPerFontSize * text.m_dFontSize;

    const bool insideY = p.top - tolY < t.top && t.bottom < p.bottom + tolY;
    const bool insideX = p.left - tolX < t.left && t.right < p.right + tolX;
    const double ry = OverlapRatio(t.top, t.bottom, p.top, p.bottom);
    const double rx = OverlapRatio(t.left, t.right, p.left, p.right);
    const double ox = OverlapLength(t.left, t.right, p.left, p.right);

    if (insideX && insideY) return CaptionRelation{kCaptionInside, Width(t), kInsideRatio};
    if (insideY) {
        if (Width(t) >= Width(p)) return std::nullopt;
        const double overhang = t.left < p.left ? double(p.left) - t.left : double(p.right) - t.right;
        if (-ox > maxGap || overhang > kMaxOverhang * Width(p)) return std::nullopt;
        if ((double(p.left) + p.right) / 2 > t.right) return CaptionRelation{kCaptionLeft, double(p.left) - t.right, ry};
        return CaptionRelation{kCaptionRight, double(t.right) - p.right, ry};
    }
    if (insideX) {
        if (Height(t) >= Height(p) || !IsHorizontalLayout(text.m_nLayout)) return std::nullopt;
        if (-OverlapLength(t.top, t.bottom, p.top, p.bottom) > maxGap) return std::nullopt;
        const double middle = double((int64_t{t.top} + t.bottom) / 2);
        if ((double(p.top) + p.bottom) / 2 > middle) return CaptionRelation{kCaptionAbove, p.top - middle, rx};
        return CaptionRelation{kCaptionBelow, middle - p.bottom, rx};
    }
    return std::nullopt;
}

void AddCaptionPart(CPicBlock& pic, CTextBlock* text) {
    if (!pic.m_pCaption) pic.m_pCaption = new CTextBlock(pic.m_pPageInfo);
    pic.m_pCaption->m_arrParts.Add(text);
}

void ResolveCaption(CPicBlock& pic, const CPageInfo& page, CTextBlockArray& rejected) {
    CTextBlock* container = pic.m_pCaption;
    if (!container) return;
    const CTextBlockArray& candidates = container->m_arrParts;
    if (candidates.GetSize() <= 1) {
        pic.m_pCaption = candidates.IsEmpty() ? nullptr : candidates[0];
        DeleteContainer(container);
        return;
    }

    std::array<CaptionBucket, kCaptionBuckets> buckets;
    for (CTextBlock* part : candidates) {
        // Each candidate related to this picture when it was attached, and nothing has moved since.
        const CaptionRelation relation = RelateToPicture(*part, pic, page).value_or(CaptionRelation{});
        const bool vertical = CombineLayout(*part, kLayoutSingleColumn) != kLayoutUnknown;
        CaptionBucket& bucket = buckets[size_t(relation.side * 2 + (vertical ? 1 : 0))];
        bucket.ratioSum += relation.ratio;
        if (part->m_strText.size() > kShortTextBytes) ++bucket.longParts;
        bucket.parts.Add(part);
    }
    size_t chosen = 0;
    for (size_t i = 1; i < buckets.size(); ++i)
        if (buckets[i].Beats(buckets[chosen])) chosen = i;
    for (size_t i = 0; i < buckets.size(); ++i)
        if (i != chosen) rejected.Append(buckets[i].parts);

    CTextBlock* caption = MergeBlocks(buckets[chosen].parts.Items());
    caption->m_nArticle = pic.m_nArticle;
    pic.m_pCaption = caption;
    DeleteContainer(container);
}

void CParserFile::AttachCaptions() {
    if (m_arrTextBlocks.IsEmpty() || m_arrPicBlocks.IsEmpty()) return;
    SortPicBlocks(m_arrPicBlocks, kPicByRows);

    std::vector<CTextBlock*> kept;
    for (CTextBlock* text : m_arrTextBlocks) {
        CPicBlock* best = nullptr;
        CaptionRelation bestRelation;
        if (text->m_nKind != kTextTitle && text->m_strText.size() <= kMaxCaptionBytes) {
            for (CPicBlock* pic : m_arrPicBlocks) {
                const auto relation = RelateToPicture(*text, *pic, *m_pPageInfo);
                if (relation && (!best || ReplacesBest(*relation, bestRelation))) {
                    best = pic;
                    bestRelation = *relation;
                }
            }
        }
        if (best)
            AddCaptionPart(*best, text);
        else
            kept.push_back(text);
    }
    m_arrTextBlocks.Items() = std::move(kept);

    CTextBlockArray rejected;
    for (CPicBlock* pic : m_arrPicBlocks) ResolveCaption(*pic, *m_pPageInfo, rejected);
    m_arrTextBlocks.Append(rejected);
}

}  // namespace kestrum
