#include "platform/DrawText.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kestrum {

namespace {

constexpr size_t kMaxCharacterBytes = 3;
constexpr double kFixedOne = 256.0;
// Rounding ties are settled outwards: near one, the double at hand may differ from
// Cairo's in the last bits.
constexpr double kTie = 1e-6;

FixedPoint FixedBelow(double v) {
    const double f = v * kFixedOne;
    const double r = std::nearbyint(f);
    return static_cast<FixedPoint>(std::fabs(f - r) > 0.5 - kTie ? std::floor(f) : r);
}

FixedPoint FixedAbove(double v) {
    const double f = v * kFixedOne;
    const double r = std::nearbyint(f);
    return static_cast<FixedPoint>(std::fabs(f - r) > 0.5 - kTie ? std::ceil(f) : r);
}

// A glyph's position as Cairo may use it: the point itself, or rounded to whole
// pixels where the surface asks for that.
struct FixedSpan {
    FixedPoint low, high;
};
FixedSpan PositionSpan(double v) {
    const auto whole = static_cast<FixedPoint>(kFixedOne);
    if (v == std::floor(v)) return {FixedBelow(v), FixedBelow(v)};
    return {FixedBelow(v) - whole, FixedAbove(v) + whole};
}

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
        out.push_back({alone.index, e.x_advance, e.y_advance,
                       {FixedBelow(e.x_bearing), FixedBelow(e.y_bearing), FixedAbove(e.x_bearing + e.width),
                        FixedAbove(e.y_bearing + e.height)}});
    }
    cairo_glyph_free(glyphs);
}

bool GlyphRun::Add(const TextFont* font, uint32_t colour, const LaidGlyph& glyph, double x, double y) {
    const FixedSpan px = PositionSpan(x), py = PositionSpan(y);
    const FixedBox box = {px.low + glyph.ink.left, py.low + glyph.ink.top, px.high + glyph.ink.right,
                          py.high + glyph.ink.bottom};
    if (glyphs_.empty()) {
        font_ = font;
        colour_ = colour;
        box_ = box;
    } else {
        if (font != font_ || colour != colour_) return false;
        const bool inked = glyph.ink.right > glyph.ink.left && glyph.ink.bottom > glyph.ink.top;
        if (inked && box.left < box_.right && box.right > box_.left && box.top < box_.bottom && box.bottom > box_.top)
            return false;
        box_ = {std::min(box_.left, box.left), std::min(box_.top, box.top), std::max(box_.right, box.right),
                std::max(box_.bottom, box.bottom)};
    }
    glyphs_.push_back({glyph.index, x, y});
    return true;
}

void GlyphRun::Clear() {
    glyphs_.clear();
    font_ = nullptr;
}

}  // namespace kestrum
