// Composite text blocks: several blocks merged into one that owns them as its parts.
#pragma once

#include <span>

namespace kestrum {

class CTextBlock;

// Merges the blocks, in order, into a new composite that owns them (they must have
// left every other list) and returns it; the caller owns the composite. A single
// block is returned itself, unchanged. An empty list gives null.
CTextBlock* MergeBlocks(std::span<CTextBlock* const> blocks);

// The composite's layout code: the first part with a code sets it, and every later
// part with a code must go with that one, else kLayoutUnknown.
int CompositeLayout(const CTextBlock& composite);

// Recomputes the composite's layout code, plain text and HTML from its parts; body
// parts are put in column reading order first.
void RebuildComposite(CTextBlock& composite);

}  // namespace kestrum
