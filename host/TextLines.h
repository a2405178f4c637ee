// The lines and words of a text block, placed inside its box. The interfaces give a
// block's text and rectangle but not where each line lies, so the box is shared out
// evenly: horizontal blocks in rows from the top, vertical ones in columns in their
// column order, and each word along its line by its share of the line's characters.
#pragma once

#include "Geometry.h"

#include <string>
#include <vector>

struct WordBox {
    SpaceBox box;
    std::string text;  // UTF-8, no spaces
};

struct LineBox {
    SpaceBox box;
    std::vector<WordBox> words;
};

// `layout` is the block's layout code; empty lines take no space.
std::vector<LineBox> LayOutLines(const std::string& text, int32_t layout, const SpaceBox& box);
