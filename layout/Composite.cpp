#include "layout/Composite.h"

#include "layout/Geometry.h"
#include "layout/SortOrders.h"
#include "model/TextBlock.h"

#include <algorithm>
#include <memory>

namespace kestrum {
namespace {

// Each part's size counts by the length of its text; parts without any text at all
// still leave the composite a size: the plain mean of theirs.
double MergedFontSize(const CTextBlockArray& parts) {
    double weighted = 0.0, length = 0.0, plain = 0.0;
    for (const CTextBlock* part : parts) {
        weighted += double(part->m_strText.size()) * part->m_dFontSize;
        length += double(part->m_strText.size());
        plain += part->m_dFontSize;
    }
    if (length > 0.0) return weighted / length;
    return parts.IsEmpty() ? 0.0 : plain / parts.GetSize();
}

}  // namespace

CTextBlock* MergeBlocks(std::span<CTextBlock* const> blocks) {
    if (blocks.empty()) return nullptr;
    if (blocks.size() == 1) return blocks[0];

    const CTextBlock& first = *blocks[0];
    auto composite = std::make_unique<CTextBlock>(first.m_pPageInfo);
    composite->InitFrom(first);
    composite->m_nKind = first.m_nKind;
    int32_t level = first.m_nLevel;
    for (size_t i = 0; i < blocks.size(); ++i) {
        composite->m_arrParts.Add(blocks[i]);
        if (i > 0) composite->UnionWith(*blocks[i]);
        level = std::max(level, blocks[i]->m_nLevel);
    }
    composite->m_nLevel = 1 + level;
    composite->m_dFontSize = MergedFontSize(composite->m_arrParts);
    RebuildComposite(*composite);
    return composite.release();
}

int CompositeLayout(const CTextBlock& composite) {
    int reference = kLayoutUnknown;
    for (const CTextBlock* part : composite.m_arrParts) {
        const int code = part->m_nLayout;
        if (code == kLayoutUnknown) continue;
        if (reference == kLayoutUnknown)
            reference = code;
        else if (CombineLayoutCodes(reference, code) == kLayoutUnknown)
            return kLayoutUnknown;
    }
    return reference;
}

void RebuildComposite(CTextBlock& composite) {
    composite.m_nLayout = CompositeLayout(composite);
    const bool body = composite.m_nKind == kTextBody;
    if (body) SortTextBlocks(composite.m_arrParts, kTextColumnReading);
    composite.m_strText.clear();
    composite.m_strHtml.clear();
    for (const CTextBlock* part : composite.m_arrParts) {
        composite.m_strText += part->m_strText;
        if (body) composite.m_strText += "\r\n";
        composite.m_strHtml += part->m_strHtml;
    }
}

}  // namespace kestrum
