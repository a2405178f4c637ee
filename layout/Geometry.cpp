#include "layout/Geometry.h"

#include "model/TextBlock.h"

#include <algorithm>

namespace kestrum {
namespace {

bool IsColumns(int code) { return code == kLayoutColumnsRightwards || code == kLayoutColumnsLeftwards; }

// Over a zero span there is nothing to relate: the ratio says "no overlap" rather
// than dividing by zero into NaN or infinity.
double Ratio(double overlap, double length) { return length == 0.0 ? kNoRatio : overlap / length; }

}  // namespace

double OverlapLength(double a0, double a1, double b0, double b1) {
    return std::min(a1, b1) - std::max(a0, b0);
}

double OverlapRatio(double a0, double a1, double b0, double b1, double* shorterRatio) {
    const double overlap = OverlapLength(a0, a1, b0, b1);
    if (shorterRatio) *shorterRatio = Ratio(overlap, std::min(a1 - a0, b1 - b0));
    return Ratio(overlap, std::max(a1, b1) - std::min(a0, b0));
}

int CombineLayoutCodes(int a, int code) {
    if (a == kLayoutUnknown || a == code) return code;
    if (code == kLayoutUnknown) return a;
    if (a == kLayoutSingleColumn && IsColumns(code)) return code;
    if (code == kLayoutSingleColumn && IsColumns(a)) return a;
    return kLayoutUnknown;
}

int CombineLayout(const CTextBlock& block, int code) { return CombineLayoutCodes(block.m_nLayout, code); }

}  // namespace kestrum
