#include "layout/SortOrders.h"

#include "model/PicBlock.h"
#include "model/TextBlock.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kestrum {
namespace {

// Coordinates closer than this compare equal, so only equal integers do.
constexpr double kCoordTolerance = 0.1;

// Negative: a before b; positive: a after b; zero: equal.
int CompareDiff(double diff) {
    if (diff > kCoordTolerance) return 1;
    if (diff < -kCoordTolerance) return -1;
    return 0;
}

int CompareIds(int32_t a, int32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

int CompareRows(const Rect& a, const Rect& b) {
    int c = CompareDiff(double(a.top) - b.top);
    return c != 0 ? c : CompareDiff(double(a.left) - b.left);
}

int CompareColumns(const Rect& a, const Rect& b) {
    int c = CompareDiff(double(a.left) - b.left);
    return c != 0 ? c : CompareDiff(double(a.top) - b.top);
}

int CompareColumnReading(const Rect& a, const Rect& b) {
    if (a.left > b.right) return 1;
    if (a.right < b.left) return -1;
    return a.top >= b.top ? 1 : -1;
}

int CompareText(const CTextBlock& a, const CTextBlock& b, int mode) {
    switch (mode) {
        case kTextById: return CompareIds(a.m_nID, b.m_nID);
        case kTextByRows: return CompareRows(a.m_rect, b.m_rect);
        case kTextByColumns: return CompareColumns(a.m_rect, b.m_rect);
        case kTextColumnReading: return CompareColumnReading(a.m_rect, b.m_rect);
        case kTextBySizeDown:
            return a.m_dFontSize > b.m_dFontSize ? -1 : (a.m_dFontSize < b.m_dFontSize ? 1 : 0);
        default: return 1;
    }
}

int ComparePic(const CPicBlock& a, const CPicBlock& b, int mode) {
    switch (mode) {
        case kPicById: return CompareIds(a.m_nID, b.m_nID);
        case kPicByRows: return CompareRows(a.m_rect, b.m_rect);
        default: return 1;
    }
}

// Bottom-up merge sort. It only ever reads the two runs it merges, so a comparison
// that is not a consistent order changes the result, never the bounds; for a
// consistent order the result is sorted.
template <class T, class Compare>
void MergeSort(std::vector<T*>& items, Compare compare) {
    const size_t n = items.size();
    std::vector<T*> buffer(n);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            size_t i = lo, j = mid, out = lo;
            while (i < mid && j < hi) buffer[out++] = compare(*items[i], *items[j]) > 0 ? items[j++] : items[i++];
            while (i < mid) buffer[out++] = items[i++];
            while (j < hi) buffer[out++] = items[j++];
        }
        items.swap(buffer);
    }
}

}  // namespace

void SortTextBlocks(CTextBlockArray& list, int mode) {
    MergeSort(list.Items(), [mode](const CTextBlock& a, const CTextBlock& b) { return CompareText(a, b, mode); });
}

void SortPicBlocks(CPicBlockArray& list, int mode) {
    MergeSort(list.Items(), [mode](const CPicBlock& a, const CPicBlock& b) { return ComparePic(a, b, mode); });
}

}  // namespace kestrum
