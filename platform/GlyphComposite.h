// Glyphs a context holds back, composited with pixman straight into the bitmap in
// the order they were drawn. Cairo draws all glyphs of a process under one lock and
// spends as long on its bookkeeping as on the pixels; a page of a million
// characters goes out here in bands of rows on every core, each pixel blended
// exactly as the glyphs drawn one at a time would blend it.
#pragma once

#include "platform/DrawText.h"
#include "platform/Rect.h"

#include <pixman.h>

#include <cstdint>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace kestrum {

class PendingGlyphs {
public:
    // For a bitmap of `height` rows.
    explicit PendingGlyphs(int32_t height);

    // `image` is a glyph of the cache passed to Composite; (x, y) the pixel its
    // origin falls on. Positions far off any bitmap are the caller's to leave out.
    void Add(const GlyphImage& image, int32_t x, int32_t y, uint32_t colour);
    bool IsEmpty() const { return held_ == 0; }
    size_t Size() const { return held_; }
    // Draws every glyph into the RGB24 surface inside `clip` (whole-pixel boxes,
    // right and bottom excluded), then forgets them.
    void Composite(cairo_surface_t* surface, const std::vector<Rect>& clip, pixman_glyph_cache_t* cache);

    // Glyphs of one colour, in the order drawn.
    struct Run {
        uint32_t colour;  // 0x00BBGGRR
        size_t first, count;
    };
    // The glyphs that reach one band of rows.
    struct Band {
        int32_t top = 0, bottom = 0;  // bottom excluded
        std::vector<pixman_glyph_t> glyphs;
        std::vector<Run> runs;
    };

private:
    std::vector<Band> bands_;
    int32_t height_;
    int32_t bandHeight_;
    unsigned threads_;
    size_t held_ = 0;
};

}  // namespace kestrum
