// Characters drawn in runs: a scaled font with the glyphs of the texts drawn in it,
// and the glyphs a drawing context holds back to draw them in one call.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrum {

// Cairo's 24.8 fixed point, in which it compares glyph boxes.
using FixedPoint = int64_t;

// A box in fixed point, the right and bottom edges excluded.
struct FixedBox {
    FixedPoint left = 0, top = 0, right = 0, bottom = 0;
};

// One glyph of a text as its font lays it out: the advance to the next glyph in
// user space, and the ink box around the glyph's origin in device pixels, taken
// no smaller than the box Cairo rounds it to.
struct LaidGlyph {
    unsigned long index = 0;
    double advanceX = 0, advanceY = 0;
    FixedBox ink;
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
    const std::vector<LaidGlyph>& Glyphs(std::string_view gbk);

private:
    void LayOut(std::string_view gbk, std::vector<LaidGlyph>& out) const;

    cairo_scaled_font_t* font_;
    std::unordered_map<uint32_t, std::vector<LaidGlyph>> characters_;
    std::vector<LaidGlyph> longText_;
};

// Glyphs in device pixels waiting to be drawn together in one font and colour.
// Drawn in one call, glyphs whose boxes overlap would be blended as one mask
// instead of one over the other, so a glyph whose box overlaps the box around the
// run does not join it: the run then draws exactly what the glyphs drawn one by
// one would. Boxes that only touch do not overlap, and full-em glyphs set solid
// touch all along a line.
class GlyphRun {
public:
    // False when the glyph has to wait for the run to be drawn first.
    bool Add(const TextFont* font, uint32_t colour, const LaidGlyph& glyph, double x, double y);
    bool IsEmpty() const { return glyphs_.empty(); }
    const TextFont* Font() const { return font_; }
    uint32_t Colour() const { return colour_; }
    const std::vector<cairo_glyph_t>& Glyphs() const { return glyphs_; }
    void Clear();

private:
    const TextFont* font_ = nullptr;
    uint32_t colour_ = 0;
    std::vector<cairo_glyph_t> glyphs_;
    FixedBox box_;  // around every glyph of the run
};

}  // namespace kestrum
