// What a text block's characters say about the block as a whole: its dominant font
// and average size, and its writing direction.
#pragma once

#include "layout/LayoutCodes.h"
#include "pscontent/Records.h"

#include <optional>
#include <string>

namespace kestrum {

struct FontStats {
    std::string fontName;  // the font of most characters, the earlier on a tie
    double avgSize = 0.0;  // each font weighted by its count, at the size of its first character
};

// The block's font statistics; none for a block without characters or with a lone
// paragraph marker.
std::optional<FontStats> ReadFontStats(const CBaseBlock& block);

// Sets m_strFontName and m_dAvgSize from ReadFontStats and returns 1; returns 0,
// touching nothing, when the block has no statistics.
int GetFontStats(CBaseBlock& block);

// The block's LayoutCode, from where its characters lie relative to the first one.
int GetLayoutCode(const CBaseBlock& block);

}  // namespace kestrum
