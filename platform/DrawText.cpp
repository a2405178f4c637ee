#include "platform/DrawText.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kestrum {

namespace {

constexpr size_t kMaxCharacterBytes = 3;

// Glyph boxes are at most a few thousand pixels: sizes are bounded by the drawing layer.
int32_t WholePixel(double v) { return static_cast<int32_t>(std::clamp(v, -1e6, 1e6)); }

uint32_t CharacterKey(std::string_view gbk) {
    uint32_t key = static_cast<uint32_t>(gbk.size()) << 24;
    for (size_t i = 0; i < gbk.size(); ++i) key |= uint32_t(static_cast<uint8_t>(gbk[i])) << (8 * i);
    return key;
}

}  // namespace

std::vector<LaidGlyph>& TextFont::Glyphs(std::string_view gbk) {
    if (gbk.size() > kMaxCharacterBytes) {
        LayOut(gbk, longText_);
        return longText_;
    }
    auto [it, added] = characters_.try_emplace(CharacterKey(gbk));
    if (added) LayOut(gbk, it->second);
    return it->second;
}

void TextFont::LayOut(std::string_view gbk, std::vector<LaidGlyph>& out) const {
    out.clear();
    const std::string utf8 = Utf16ToUtf8(NarrowToWide(gbk));
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    if (cairo_scaled_font_text_to_glyphs(font_, 0, 0, utf8.data(), static_cast<int>(utf8.size()), &glyphs, &count,
                                         nullptr, nullptr, nullptr) != CAIRO_STATUS_SUCCESS)
        return;
    for (int i = 0; i < count; ++i) {
        cairo_glyph_t alone = {glyphs[i].index, 0, 0};
        cairo_text_extents_t e;
        cairo_scaled_font_glyph_extents(font_, &alone, 1, &e);
        out.push_back({alone.index, e.x_advance, e.y_advance, WholePixel(std::floor(e.x_bearing)),
                       WholePixel(std::floor(e.y_bearing)), WholePixel(std::ceil(e.x_bearing + e.width)),
                       WholePixel(std::ceil(e.y_bearing + e.height)), {}});
    }
    cairo_glyph_free(glyphs);
}

}  // namespace kestrum
