// Layout codes of a text block: the writing direction of its lines.
#pragma once

#include <cstdint>

namespace kestrum {

enum LayoutCode : int32_t {
    kLayoutUnknown = 0,            // also what merging incompatible blocks gives
    kLayoutLeftToRight = 1,
    kLayoutRightToLeft = 2,        // horizontal, characters not advancing rightwards
    kLayoutColumnsRightwards = 3,
    kLayoutColumnsLeftwards = 4,
    kLayoutSingleColumn = 5,       // vertical, column direction undetermined
};

// Every other code, undetermined included, counts as vertical.
inline bool IsHorizontalLayout(int32_t code) {
    return code == kLayoutLeftToRight || code == kLayoutRightToLeft;
}

}  // namespace kestrum
