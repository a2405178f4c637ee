// What a text block's characters say about the block as a whole: its dominant font
// and average size, and its writing direction.
#pragma once

#include "layout/LayoutCodes.h"
#include "pscontent/Records.h"

namespace kestrum {

// Sets m_strFontName (the font of most characters, the earlier on a tie) and
// m_dAvgSize (each font weighted by its count, at the size of its first character);
// returns 1. Returns 0, touching nothing, for a block without characters or with a
// lone paragraph marker.
int GetFontStats(CBaseBlock& block);

// The block's LayoutCode, from where its characters lie relative to the first one.
int GetLayoutCode(const CBaseBlock& block);

}  // namespace kestrum
