// The coverage images of the glyphs a context draws, rendered once through Cairo
// and kept in a pixman glyph cache for compositing straight into the bitmap.
#pragma once

#include "platform/DrawText.h"

#include <cstddef>

typedef struct pixman_glyph_cache_t pixman_glyph_cache_t;

namespace kestrum {

class GlyphImages {
public:
    GlyphImages();
    ~GlyphImages();
    GlyphImages(const GlyphImages&) = delete;
    GlyphImages& operator=(const GlyphImages&) = delete;

    enum class Outcome { Found, NoInk, Full };
    // The image of a glyph of `font`, kept in `glyph.image` for the next time.
    // NoInk: the glyph leaves no pixel. Full: the cache holds as many images as it
    // may; draw what uses them and Clear it first.
    Outcome Find(const TextFont& font, LaidGlyph& glyph);
    // Forgets every image; glyphs that were found before must have been drawn.
    void Clear();
    pixman_glyph_cache_t* Cache() const { return cache_; }

private:
    void Destroy();

    pixman_glyph_cache_t* cache_;
    size_t bytes_ = 0;
    size_t count_ = 0;
    uint32_t epoch_ = 1;
};

}  // namespace kestrum
