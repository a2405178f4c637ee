#include "platform/DrawText.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <string>

namespace kestrum {

namespace {

// Glyph boxes are widened by this much (pixels) before they are compared: Cairo
// finds touching glyphs from boxes rounded its own way.
constexpr double kInkMargin = 1.0;
constexpr size_t kMaxCharacterBytes = 3;

uint32_t CharacterKey(std::string_view gbk) {
    uint32_t key = static_cast<uint32_t>(gbk.size()) << 24;
    for (size_t i = 0; i < gbk.size(); ++i) key |= uint32_t(static_cast<uint8_t>(gbk[i])) << (8 * i);
    return key;
}

}  // namespace

const std::vector<LaidGlyph>& TextFont::Glyphs(std::string_view gbk) {
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
        out.push_back({alone.index, e.x_advance, e.y_advance, e.x_bearing, e.y_bearing, e.x_bearing + e.width,
                       e.y_bearing + e.height});
    }
    cairo_glyph_free(glyphs);
}

bool GlyphRun::Add(const TextFont* font, uint32_t colour, const LaidGlyph& glyph, double x, double y) {
    const double left = x + glyph.inkLeft - kInkMargin, right = x + glyph.inkRight + kInkMargin;
    const double top = y + glyph.inkTop - kInkMargin, bottom = y + glyph.inkBottom + kInkMargin;
    if (glyphs_.empty()) {
        font_ = font;
        colour_ = colour;
        left_ = left, top_ = top, right_ = right, bottom_ = bottom;
    } else {
        if (font != font_ || colour != colour_) return false;
        const bool inked = glyph.inkRight > glyph.inkLeft && glyph.inkBottom > glyph.inkTop;
        if (inked && left < right_ && right > left_ && top < bottom_ && bottom > top_) return false;
        left_ = std::min(left_, left), top_ = std::min(top_, top);
        right_ = std::max(right_, right), bottom_ = std::max(bottom_, bottom);
    }
    glyphs_.push_back({glyph.index, x, y});
    return true;
}

void GlyphRun::Clear() {
    glyphs_.clear();
    font_ = nullptr;
}

}  // namespace kestrum
