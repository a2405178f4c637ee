// Which way an S2 item's glyphs run, from how each glyph stands to the one before it.
#include "layout/LayoutCodes.h"
#include "s2reader/ArtItem.h"

#include <cmath>

namespace kestrum {

namespace {

// Two glyphs share a column (or a row) when their left (or bottom) sides are closer
// than this part of the mean glyph width (or height).
constexpr double kSameLine = 0.4;

}  // namespace

int32_t St_ArtItem::ItemLayout(std::span<const Rect> glyphs) const {
    if (glyphs.size() < 2) return kLayoutUnknown;
    const double mw = dMeanWidth, mh = dMeanHeight;
    int sameColumn = 0, sameRow = 0, rowDirection = 0, columnDirection = 0;
    for (size_t i = 1; i < glyphs.size(); ++i) {
        const double dx = double(glyphs[i].left) - glyphs[i - 1].left;
        const double dy = double(glyphs[i].bottom) - glyphs[i - 1].bottom;
        if (std::fabs(dx) < kSameLine * mw) ++sameColumn;
        if (std::fabs(dy) < kSameLine * mh) {
            ++sameRow;
            rowDirection += dx > 0 ? 1 : -1;
        }
        if (dx > mw) ++columnDirection;
        else if (dx < -mw) --columnDirection;
    }
    if (sameColumn > sameRow) {
        if (columnDirection == 0) return kLayoutSingleColumn;
        return columnDirection < 0 ? kLayoutColumnsLeftwards : kLayoutColumnsRightwards;
    }
    return rowDirection > 0 ? kLayoutLeftToRight : kLayoutRightToLeft;
}

}  // namespace kestrum
