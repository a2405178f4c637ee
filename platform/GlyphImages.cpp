#include "platform/GlyphImages.h"

#include <cairo.h>
#include <pixman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kestrum {

namespace {

// Pixman's cache holds at most twice this many glyphs; past its own mark it would
// start to evict, which a context must not suffer while glyphs wait to be drawn.
constexpr size_t kMaxGlyphs = 16384;
constexpr size_t kMaxImageBytes = size_t{64} << 20;
// Room around the ink box for the grey edge of the rasterised outline; doubled
// until the glyph's image lies clear of the border.
constexpr int32_t kFirstMargin = 4;
constexpr int32_t kLastMargin = 64;

struct Coverage {
    int32_t width = 0, height = 0, stride = 0;
    std::vector<uint8_t> bytes;  // one byte a pixel, rows `stride` apart
    uint8_t At(int32_t x, int32_t y) const { return bytes[size_t(y) * size_t(stride) + size_t(x)]; }
};

// The glyph as Cairo draws it with the origin at (originX, originY) of an empty
// surface: the very coverage it would blend into the bitmap there.
bool Render(cairo_scaled_font_t* font, unsigned long index, int32_t originX, int32_t originY, Coverage& out) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, out.width, out.height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_scaled_font(cr, font);
    cairo_set_source_rgb(cr, 0, 0, 0);
    const cairo_glyph_t glyph = {index, static_cast<double>(originX), static_cast<double>(originY)};
    cairo_show_glyphs(cr, &glyph, 1);
    const bool ok = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (ok) {
        out.stride = cairo_image_surface_get_stride(surface);
        const uint8_t* data = cairo_image_surface_get_data(surface);
        out.bytes.assign(data, data + size_t(out.stride) * size_t(out.height));
    }
    cairo_surface_destroy(surface);
    return ok;
}

struct Box {
    int32_t left, top, right, bottom;
};

// The smallest box holding every covered pixel; empty when none is.
Box InkOf(const Coverage& c) {
    Box box = {c.width, c.height, 0, 0};
    for (int32_t y = 0; y < c.height; ++y)
        for (int32_t x = 0; x < c.width; ++x)
            if (c.At(x, y)) box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                                   std::max(box.bottom, y + 1)};
    return box;
}

bool TouchesBorder(const Box& ink, const Coverage& c) {
    return ink.left == 0 || ink.top == 0 || ink.right == c.width || ink.bottom == c.height;
}

}  // namespace

GlyphImages::GlyphImages() : cache_(pixman_glyph_cache_create()) {
    // Frozen for good: pixman evicts only on thawing, and glyphs found must stay.
    if (cache_) pixman_glyph_cache_freeze(cache_);
}

GlyphImages::~GlyphImages() { Destroy(); }

void GlyphImages::Destroy() {
    if (!cache_) return;
    pixman_glyph_cache_thaw(cache_);
    pixman_glyph_cache_destroy(cache_);
    cache_ = nullptr;
}

void GlyphImages::Clear() {
    Destroy();
    cache_ = pixman_glyph_cache_create();
    if (cache_) pixman_glyph_cache_freeze(cache_);
    bytes_ = 0;
    count_ = 0;
    ++epoch_;
}

GlyphImages::Outcome GlyphImages::Find(const TextFont& font, LaidGlyph& glyph) {
    if (glyph.image.epoch == epoch_) return glyph.image.glyph ? Outcome::Found : Outcome::NoInk;
    if (!glyph.HasInk() || !cache_) return Outcome::NoInk;
    void* fontKey = const_cast<TextFont*>(&font);
    void* glyphKey = reinterpret_cast<void*>(static_cast<uintptr_t>(glyph.index));
    // The same glyph laid out for another text.
    if (const void* known = pixman_glyph_cache_lookup(cache_, fontKey, glyphKey)) {
        pixman_glyph_t alone = {0, 0, known};
        pixman_box32_t box;
        pixman_glyph_get_extents(cache_, 1, &alone, &box);
        glyph.image = {known, box.y1, box.y2 - box.y1, epoch_};
        return Outcome::Found;
    }
    const size_t inkBytes = size_t(glyph.inkRight - glyph.inkLeft) * size_t(glyph.inkBottom - glyph.inkTop);
    if (count_ >= kMaxGlyphs || bytes_ + inkBytes > kMaxImageBytes) return Outcome::Full;

    Coverage c;
    Box ink;
    int32_t originX = 0, originY = 0;
    for (int32_t margin = kFirstMargin;; margin *= 2) {
        originX = margin - glyph.inkLeft;
        originY = margin - glyph.inkTop;
        c.width = glyph.inkRight - glyph.inkLeft + 2 * margin;
        c.height = glyph.inkBottom - glyph.inkTop + 2 * margin;
        if (!Render(font.Font(), glyph.index, originX, originY, c)) return Outcome::NoInk;
        ink = InkOf(c);
        if (ink.right <= ink.left || !TouchesBorder(ink, c) || margin >= kLastMargin) break;
    }
    if (ink.right <= ink.left) {
        glyph.image = {nullptr, 0, 0, epoch_};
        return Outcome::NoInk;
    }

    // Only the covered pixels are kept: fewer to blend, and the same result.
    const int32_t width = ink.right - ink.left, height = ink.bottom - ink.top;
    const int32_t stride = (width + 3) / 4 * 4;
    std::vector<uint32_t> bits(size_t(stride / 4) * size_t(height));
    auto* rows = reinterpret_cast<uint8_t*>(bits.data());
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = &c.bytes[size_t(ink.top + y) * size_t(c.stride) + size_t(ink.left)];
        std::memcpy(rows + size_t(y) * size_t(stride), from, size_t(width));
    }
    pixman_image_t* cropped = pixman_image_create_bits(PIXMAN_a8, width, height, bits.data(), stride);
    if (!cropped) return Outcome::NoInk;
    const void* image =
        pixman_glyph_cache_insert(cache_, fontKey, glyphKey, originX - ink.left, originY - ink.top, cropped);
    pixman_image_unref(cropped);
    if (!image) return Outcome::Full;
    glyph.image = {image, ink.top - originY, height, epoch_};
    bytes_ += size_t(stride) * size_t(height);
    ++count_;
    return Outcome::Found;
}

}  // namespace kestrum
