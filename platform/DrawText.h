// Characters drawn in runs: a scaled font with the glyphs of the texts drawn in it,
// and the glyphs a drawing context holds back to draw them in one call.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrum {

// One glyph of a text as its font lays it out: the advance to the next glyph and
// the ink box around the glyph's origin, in the font's user space.
struct LaidGlyph {
    unsigned long index = 0;
    double advanceX = 0, advanceY = 0;
    double inkLeft = 0, inkTop = 0, inkRight = 0, inkBottom = 0;
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
// Drawn in one call, glyphs whose boxes meet would be blended as one mask instead
// of one over the other, so a glyph that would touch the run does not join it:
// the run then draws exactly what the glyphs drawn one by one would.
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
    double left_ = 0, top_ = 0, right_ = 0, bottom_ = 0;  // around every glyph of the run
};

}  // namespace kestrum
