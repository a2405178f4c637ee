// Character records built in code: one character on the baseline y = 0, one em wide.
#pragma once

#include "pscontent/Records.h"

namespace kestrum::testing {

inline St_WordInfo CharAt(uint16_t code, int32_t left, int32_t size, const char* font) {
    St_WordInfo w;
    w.wCode = code;
    w.strFontName = font;
    w.strFontName2 = font;
    w.nWidth = size;
    w.nHeight = size;
    w.nX = left;
    w.rcChar = MakeRect(left, -size, left + size, 0);
    return w;
}

}  // namespace kestrum::testing
