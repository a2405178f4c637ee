// One text item of an S2 page: a run of glyphs with its text, mean glyph size,
// bounding rectangle and layout code.
#pragma once

#include "platform/Rect.h"

#include <cstdint>
#include <span>

namespace kestrum {

struct St_ArtItem {
    int32_t nLink = 0;          // 0, or the item's 1-based position when it was opened or marked linked
    int32_t nGlyphs = 0;        // glyphs added
    int32_t nLayout = 0;        // layout code, set when the item is finished
    double dMeanHeight = 0.0;   // running mean of the glyph heights, S2 units
    double dMeanWidth = 0.0;    // running mean of the glyph widths, S2 units
    Rect rcBound{};             // union of the glyph rectangles
    size_t nTextStart = 0;      // the item's text: bytes of the reader's text buffer
    int32_t nTextLen = 0;

    // The layout code of the item's glyph rectangles, in stream order, judged with
    // the item's mean glyph size.
    int32_t ItemLayout(std::span<const Rect> glyphs) const;
};

}  // namespace kestrum
