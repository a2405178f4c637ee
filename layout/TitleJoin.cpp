// Title joining: the lines of one title, set one under another, become one title.
#include "psreader/PSParser.h"

#include "layout/Composite.h"
#include "model/TextBlock.h"

#include <cmath>
#include <cstdint>
#include <iterator>
#include <list>
#include <map>
#include <tuple>
#include <vector>

namespace kestrum {
namespace {

// Lines are scanned in list order; for each line the first later line that joins it
// is taken. Partners share article and exact font size and have neighbouring block
// numbers, so they are looked up by that key instead of by walking the whole list:
// the results are those of the pair scan, found in near-linear time.
class TitleLines {
public:
    explicit TitleLines(const std::vector<CTextBlock*>& titles) {
        for (CTextBlock* title : titles) Append(title);
    }

    // Joins lines until no pair is left; returns the lines in their final order.
    std::vector<CTextBlock*> Join() {
        for (Line p = order_.begin(); p != order_.end();) {
            Line s = FirstPartner(p);
            if (s == order_.end()) {
                ++p;
                continue;
            }
            // The scan goes on with the line that followed P once both are gone.
            Line after = std::next(p) == s ? std::next(s) : std::next(p);
            CTextBlock* prev = p->block;
            CTextBlock* next = s->block;
            Remove(s);
            Remove(p);
            Append(JoinPair(prev, next));  // deletes both lines
            p = after == order_.end() ? std::prev(order_.end()) : after;
        }
        std::vector<CTextBlock*> lines;
        for (const Node& n : order_) lines.push_back(n.block);
        return lines;
    }

private:
    struct Node {
        CTextBlock* block;
        uint64_t seq;  // grows along the list: list order is seq order
    };
    using Line = std::list<Node>::iterator;
    using Key = std::tuple<int32_t, int64_t, double>;  // article, block number, font size

    // A NaN size equals nothing, so such a line joins nothing.
    static bool Keyed(const CTextBlock* b) { return !std::isnan(b->m_dFontSize); }
    // -0 folded into 0: the sizes must be equal, not their bits.
    static Key KeyOf(const CTextBlock* b, int64_t id) {
        return {b->m_nArticle, id, b->m_dFontSize == 0.0 ? 0.0 : b->m_dFontSize};
    }

    void Append(CTextBlock* block) {
        Line line = order_.insert(order_.end(), Node{block, nextSeq_++});
        if (Keyed(block)) byKey_[KeyOf(block, block->m_nID)].emplace(line->seq, line);
    }

    void Remove(Line line) {
        if (Keyed(line->block)) {
            auto it = byKey_.find(KeyOf(line->block, line->block->m_nID));
            it->second.erase(line->seq);
            if (it->second.empty()) byKey_.erase(it);
        }
        order_.erase(line);
    }

    // S stands under P (below) or over it with a gap smaller than its font size.
    static bool Stacked(const CTextBlock& p, const CTextBlock& s, bool below) {
        const Rect& upper = below ? p.m_rect : s.m_rect;
        const Rect& lower = below ? s.m_rect : p.m_rect;
        if (!(upper.bottom < lower.top)) return false;
        return double(int64_t{lower.top} - upper.bottom) < s.m_dFontSize;
    }

    // The first line after P, in list order, that joins P; order_.end() when none.
    Line FirstPartner(Line p) {
        const CTextBlock* prev = p->block;
        if (!Keyed(prev)) return order_.end();
        Line best = order_.end();
        uint64_t bestSeq = UINT64_MAX;
        for (bool below : {true, false}) {
            auto bucket = byKey_.find(KeyOf(prev, int64_t{prev->m_nID} + (below ? 1 : -1)));
            if (bucket == byKey_.end()) continue;
            for (auto e = bucket->second.upper_bound(p->seq); e != bucket->second.end() && e->first < bestSeq; ++e) {
                if (Stacked(*prev, *e->second->block, below)) {
                    best = e->second;
                    bestSeq = e->first;
                    break;
                }
            }
        }
        return best;
    }

    // One title from two lines: it keeps their text, HTML, rectangle and size, and
    // the later line's number, but not the lines themselves.
    static CTextBlock* JoinPair(CTextBlock* p, CTextBlock* s) {
        CTextBlock* earlier = p->m_nID < s->m_nID ? p : s;
        CTextBlock* later = earlier == p ? s : p;
        const int32_t laterId = later->m_nID;
        CTextBlock* lines[] = {earlier, later};
        CTextBlock* joined = MergeBlocks(lines);
        joined->m_arrParts.DeleteAll();
        joined->m_nLevel = 0;
        joined->m_nID = laterId;
        return joined;
    }

    std::list<Node> order_;
    std::map<Key, std::map<uint64_t, Line>> byKey_;
    uint64_t nextSeq_ = 0;
};

}  // namespace

int32_t CPSParser::JoinTitleLines() {
    if (m_arrTextBlocks.IsEmpty() && m_arrPicBlocks.IsEmpty()) return 1;

    std::vector<CTextBlock*> titles, others;
    for (CTextBlock* block : m_arrTextBlocks) (block->m_nKind == kTextTitle ? titles : others).push_back(block);
    if (titles.empty()) return E_FAIL;

    others.reserve(others.size() + titles.size());
    for (CTextBlock* title : TitleLines(titles).Join()) others.push_back(title);
    m_arrTextBlocks.Items() = std::move(others);
    return 0;
}

}  // namespace kestrum
