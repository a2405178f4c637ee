#include "platform/GlyphComposite.h"

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace kestrum {

namespace {

// Below this many glyphs a thread costs more than it saves.
constexpr size_t kGlyphsForThreads = 4096;
constexpr unsigned kMaxThreads = 8;
// Text is rarely spread evenly down a page: more bands than threads keep them all busy.
constexpr unsigned kBandsPerThread = 4;

using Band = PendingGlyphs::Band;
using Run = PendingGlyphs::Run;

// The source Cairo makes of the same colour: 8-bit channels widened to 16 bits.
pixman_image_t* SolidOf(uint32_t colour) {
    const pixman_color_t c = {static_cast<uint16_t>((colour & 0xFF) * 257),
                              static_cast<uint16_t>(((colour >> 8) & 0xFF) * 257),
                              static_cast<uint16_t>(((colour >> 16) & 0xFF) * 257), 0xFFFF};
    return pixman_image_create_solid_fill(&c);
}

struct Target {
    uint32_t* pixels;
    int32_t width, height, stride;
};

void Draw(const Target& target, const std::vector<pixman_box32_t>& clip, const Band& band,
          pixman_glyph_cache_t* cache) {
    pixman_region32_t region;
    pixman_region32_init_rects(&region, clip.data(), static_cast<int>(clip.size()));
    pixman_region32_intersect_rect(&region, &region, 0, band.top, static_cast<unsigned>(target.width),
                                   static_cast<unsigned>(band.bottom - band.top));
    pixman_image_t* dest =
        pixman_region32_not_empty(&region)
            ? pixman_image_create_bits(PIXMAN_x8r8g8b8, target.width, target.height, target.pixels, target.stride)
            : nullptr;
    if (dest && pixman_image_set_clip_region32(dest, &region)) {
        for (const Run& run : band.runs) {
            pixman_image_t* source = SolidOf(run.colour);
            if (!source) continue;
            pixman_composite_glyphs_no_mask(PIXMAN_OP_OVER, source, dest, 0, 0, 0, 0, cache,
                                            static_cast<int>(run.count), &band.glyphs[run.first]);
            pixman_image_unref(source);
        }
    }
    if (dest) pixman_image_unref(dest);
    pixman_region32_fini(&region);
}

}  // namespace

PendingGlyphs::PendingGlyphs(int32_t height)
    : height_(std::max(height, 1)),
      threads_(std::clamp(std::thread::hardware_concurrency(), 1u, kMaxThreads)) {
    const int32_t count = static_cast<int32_t>(std::min<unsigned>(threads_ * kBandsPerThread, unsigned(height_)));
    bandHeight_ = (height_ + count - 1) / count;
    for (int32_t top = 0; top < height_; top += bandHeight_) {
        Band& band = bands_.emplace_back();
        band.top = top;
        band.bottom = std::min(height_, top + bandHeight_);
    }
}

void PendingGlyphs::Add(const GlyphImage& image, int32_t x, int32_t y, uint32_t colour) {
    const int32_t top = std::max(y + image.top, 0), bottom = std::min(y + image.top + image.height, height_);
    if (bottom <= top) return;
    for (int32_t b = top / bandHeight_; b <= (bottom - 1) / bandHeight_; ++b) {
        Band& band = bands_[size_t(b)];
        if (band.runs.empty() || band.runs.back().colour != colour)
            band.runs.push_back({colour, band.glyphs.size(), 0});
        band.glyphs.push_back({x, y, image.glyph});
        ++band.runs.back().count;
        ++held_;
    }
}

void PendingGlyphs::Composite(cairo_surface_t* surface, const std::vector<Rect>& clip, pixman_glyph_cache_t* cache) {
    if (held_ == 0) return;
    cairo_surface_flush(surface);
    const Target target = {reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface)),
                           cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface),
                           cairo_image_surface_get_stride(surface)};
    std::vector<pixman_box32_t> boxes;
    for (const Rect& r : clip)
        if (!IsRectEmpty(r)) boxes.push_back({r.left, r.top, r.right, r.bottom});

    // Bands share no pixel, and each blends its glyphs in the order drawn: the
    // pixels come out as from one thread.
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t b; (b = next.fetch_add(1)) < bands_.size();)
            if (!bands_[b].glyphs.empty()) Draw(target, boxes, bands_[b], cache);
    };
    std::vector<std::thread> helpers;
    const unsigned threads = held_ < kGlyphsForThreads ? 1 : threads_;
    for (unsigned i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break;  // the bands left are drawn here
        }
    }
    work();
    for (std::thread& t : helpers) t.join();
    cairo_surface_mark_dirty(surface);
    for (Band& band : bands_) {
        band.glyphs.clear();
        band.runs.clear();
    }
    held_ = 0;
}

}  // namespace kestrum
