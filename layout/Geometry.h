// Geometric primitives the layout reasons with: signed overlap of intervals, overlap
// ratios, and whether two writing directions go together.
#pragma once

#include "layout/LayoutCodes.h"

namespace kestrum {

class CTextBlock;

// min(a1, b1) - max(a0, b0): the common length, or minus the gap between them.
double OverlapLength(double a0, double a1, double b0, double b1);

// Overlap relative to the span of both intervals; with `shorterRatio`, also the
// overlap relative to the shorter interval. Negative for disjoint intervals, at
// most 1. Over a zero span a ratio is kNoRatio.
double OverlapRatio(double a0, double a1, double b0, double b1, double* shorterRatio = nullptr);

// Below every threshold the callers test a ratio against.
inline constexpr double kNoRatio = -1.0;

// The layout code `block` and `code` share, or kLayoutUnknown when they do not go
// together. An undetermined side takes the other; a single column goes with either
// column direction.
int CombineLayout(const CTextBlock& block, int code);
int CombineLayoutCodes(int a, int code);

}  // namespace kestrum
