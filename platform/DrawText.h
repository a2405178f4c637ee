// A scaled font with the glyphs of the texts drawn in it.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrum {

// A glyph's coverage image as the glyph cache holds it, and the rows it covers
// from its origin's row (`top` is negative above the baseline).
struct GlyphImage {
    const void* glyph = nullptr;
    int32_t top = 0, height = 0;
    uint32_t epoch = 0;  // of the cache that holds the image; 0 for none
};

// One glyph of a text as its font lays it out: the advance to the next glyph in
// user space, the ink box around the glyph's origin in whole device pixels,
// rounded outwards, and its image once it has been drawn.
struct LaidGlyph {
    unsigned long index = 0;
    double advanceX = 0, advanceY = 0;
    int32_t inkLeft = 0, inkTop = 0, inkRight = 0, inkBottom = 0;
    GlyphImage image;
    bool HasInk() const { return inkRight > inkLeft && inkBottom > inkTop; }
};

// Owns one reference to the scaled font.
class TextFont {
public:
    explicit TextFont(cairo_scaled_font_t* font) : font_(font) {}
    ~TextFont() { cairo_scaled_font_destroy(font_); }
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    cairo_scaled_font_t* Font() const { return font_; }
    // The glyphs of a GBK text; a page draws the same few thousand characters over
    // and over, so texts of one character are laid out once.
    std::vector<LaidGlyph>& Glyphs(std::string_view gbk);

private:
    void LayOut(std::string_view gbk, std::vector<LaidGlyph>& out) const;

    cairo_scaled_font_t* font_;
    std::unordered_map<uint32_t, std::vector<LaidGlyph>> characters_;
    std::vector<LaidGlyph> longText_;
};

}  // namespace kestrum
