#include "platform/Draw.h"

#include "platform/CodePage.h"
#include "platform/DrawFont.h"
#include "platform/DrawText.h"
#include "platform/GlyphComposite.h"
#include "platform/GlyphImages.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace kestrum {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int32_t kDefaultTextHeight = 12;  // pixels, for a request of height 0
// The baseline lies this far (in ems) below the top of a character's cell, as in the
// Chinese faces the page files name (220 of 256 units), whatever the metrics of the
// installed substitute: the renderer places characters by those faces' cells.
constexpr double kCellAscent = 220.0 / 256.0;
// Glyphs are rasterised whole: a font size from a damaged page must not ask for
// glyph images of gigabytes. Far beyond any character of a page proof.
constexpr double kMaxTextSize = 2048.0;  // pixels
// Scaled fonts a context keeps; a damaged page may ask for any number of sizes.
constexpr size_t kMaxTextFonts = 64;
// Glyphs a context holds back before drawing them.
constexpr size_t kMaxPendingGlyphs = size_t{1} << 20;
// A glyph whose origin lies this far outside the bitmap cannot reach it, whatever its size.
constexpr double kGlyphReach = 4 * kMaxTextSize + 1024;

// Cairo keeps points in 24.8 fixed point; characters land where the stored current
// point puts them.
double ToFixedPoint(double v) { return std::nearbyint(v * 256.0) / 256.0; }

double TextSize(const FontRequest& f) {
    // Negative and positive heights both give the em: the faces of the font table
    // have no internal leading.
    return std::min(f.nHeight == 0 ? kDefaultTextHeight : std::fabs(static_cast<double>(f.nHeight)), kMaxTextSize);
}

double TextWidth(const FontRequest& f) {
    // The requested width is the average character width, half a Chinese character.
    return f.nWidth > 0 ? std::min(2.0 * f.nWidth, kMaxTextSize) : TextSize(f);
}

void SetTextFace(cairo_t* cr, cairo_font_face_t* face, const FontRequest& f) {
    cairo_set_font_face(cr, face);
    cairo_matrix_t m;
    cairo_matrix_init_scale(&m, TextWidth(f), TextSize(f));
    cairo_set_font_matrix(cr, &m);
}

void SetSource(cairo_t* cr, Colour c) {
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0);
}

void AddRect(cairo_t* cr, const Rect& r) {
    if (IsRectEmpty(r)) {
        cairo_rectangle(cr, 0, 0, 0, 0);
        return;
    }
    cairo_rectangle(cr, r.left, r.top, static_cast<double>(r.right) - r.left, static_cast<double>(r.bottom) - r.top);
}

void AddEllipse(cairo_t* cr, const Rect& r) {
    const double w = static_cast<double>(r.right) - r.left;
    const double h = static_cast<double>(r.bottom) - r.top;
    if (w <= 0 || h <= 0) {
        cairo_rectangle(cr, 0, 0, 0, 0);
        return;
    }
    cairo_save(cr);
    cairo_translate(cr, r.left + w / 2, r.top + h / 2);
    cairo_scale(cr, w / 2, h / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

}  // namespace

// ---------------------------------------------------------------------------

DrawBitmap::DrawBitmap(int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return;
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
    if (stride <= 0 || uint64_t(stride) * uint64_t(height) > kMaxBitmapBytes) return;
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return;
    }
    surface_ = s;
    width_ = width;
    height_ = height;
}

void DrawBitmap::DrawPendingText() const {
    if (pendingText_) pendingText_->DrawPendingGlyphs();
}

DrawBitmap::~DrawBitmap() {
    if (surface_) cairo_surface_destroy(surface_);
}

const uint8_t* DrawBitmap::Pixels() const {
    if (!surface_) return nullptr;
    DrawPendingText();
    cairo_surface_flush(surface_);
    return cairo_image_surface_get_data(surface_);
}

int32_t DrawBitmap::Stride() const { return surface_ ? cairo_image_surface_get_stride(surface_) : 0; }

Colour DrawBitmap::PixelAt(int32_t x, int32_t y) const {
    if (!surface_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    uint32_t v;
    std::memcpy(&v, Pixels() + size_t(y) * size_t(Stride()) + size_t(x) * 4, 4);
    return RgbColour((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

// ---------------------------------------------------------------------------

void DrawPath::MoveTo(Point p) { steps_.push_back({Op::Move, {p, {}, {}}}); }
void DrawPath::LineTo(Point p) { steps_.push_back({Op::Line, {p, {}, {}}}); }
void DrawPath::BezierTo(Point c1, Point c2, Point end) { steps_.push_back({Op::Bezier, {c1, c2, end}}); }
void DrawPath::CloseFigure() { steps_.push_back({Op::Close, {}}); }
void DrawPath::Ellipse(const Rect& box) {
    steps_.push_back({Op::Ellipse, {MakePoint(box.left, box.top), MakePoint(box.right, box.bottom), {}}});
}
void DrawPath::Rectangle(const Rect& box) {
    steps_.push_back({Op::Rectangle, {MakePoint(box.left, box.top), MakePoint(box.right, box.bottom), {}}});
}

// ---------------------------------------------------------------------------

DrawContext::DrawContext(DrawBitmap& bitmap)
    : bitmap_(bitmap), glyphImages_(std::make_unique<GlyphImages>()),
      pendingGlyphs_(std::make_unique<PendingGlyphs>(bitmap.Height())) {
    if (!bitmap.IsValid()) return;
    cairo_t* cr = cairo_create(bitmap.Surface());
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
        cairo_destroy(cr);
        return;
    }
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // Glyphs keep grey edges while shapes stay sharp; set once, kept through Save and Restore.
    if (cairo_font_options_t* options = cairo_font_options_create()) {
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_set_font_options(cr, options);
        cairo_font_options_destroy(options);
    }
    cr_ = cr;
}

DrawContext::~DrawContext() {
    if (cr_) {
        DrawPendingGlyphs();
        cairo_surface_flush(bitmap_.Surface());
        cairo_destroy(cr_);
    }
}

void DrawContext::Save() {
    if (!cr_) return;
    cairo_save(cr_);
    saved_.push_back(state_);
}

void DrawContext::Restore() {
    if (!cr_ || saved_.empty()) return;
    bitmap_.DrawPendingText();
    cairo_restore(cr_);
    clipShape_ = ClipShape::Unknown;
    state_ = std::move(saved_.back());
    ++fontChanges_;
    saved_.pop_back();
}

void DrawContext::IntersectClip(const Rect& r) {
    if (!cr_) return;
    bitmap_.DrawPendingText();
    cairo_new_path(cr_);
    AddRect(cr_, r);
    cairo_clip(cr_);
    clipShape_ = ClipShape::Unknown;
}

void DrawContext::IntersectClip(const DrawPath& path) {
    if (!cr_) return;
    bitmap_.DrawPendingText();
    cairo_new_path(cr_);
    for (const DrawPath::Step& s : path.Steps()) {
        switch (s.op) {
        case DrawPath::Op::Move: cairo_move_to(cr_, s.p[0].x, s.p[0].y); break;
        case DrawPath::Op::Line: cairo_line_to(cr_, s.p[0].x, s.p[0].y); break;
        case DrawPath::Op::Bezier:
            cairo_curve_to(cr_, s.p[0].x, s.p[0].y, s.p[1].x, s.p[1].y, s.p[2].x, s.p[2].y);
            break;
        case DrawPath::Op::Close: cairo_close_path(cr_); break;
        case DrawPath::Op::Ellipse: AddEllipse(cr_, MakeRect(s.p[0].x, s.p[0].y, s.p[1].x, s.p[1].y)); break;
        case DrawPath::Op::Rectangle: AddRect(cr_, MakeRect(s.p[0].x, s.p[0].y, s.p[1].x, s.p[1].y)); break;
        }
    }
    // A figure that encloses nothing leaves nothing visible.
    if (path.IsEmpty()) cairo_rectangle(cr_, 0, 0, 0, 0);
    cairo_clip(cr_);
    clipShape_ = ClipShape::Unknown;
}

void DrawContext::FillRect(const Rect& r, Colour colour) {
    if (!cr_ || IsRectEmpty(r)) return;
    bitmap_.DrawPendingText();
    cairo_new_path(cr_);
    AddRect(cr_, r);
    SetSource(cr_, colour);
    cairo_fill(cr_);
}

void DrawContext::FrameRect(const Rect& r, Colour colour) {
    if (!cr_ || IsRectEmpty(r)) return;
    bitmap_.DrawPendingText();
    cairo_new_path(cr_);
    AddRect(cr_, r);
    Rect inner = r;
    InflateRect(inner, -1, -1);
    if (!IsRectEmpty(inner)) AddRect(cr_, inner);
    SetSource(cr_, colour);
    cairo_fill(cr_);  // even-odd: the ring between the two
}

void DrawContext::SetPen(int32_t width, Colour colour) {
    state_.hasPen = true;
    state_.penWidth = width < 1 ? 1 : width;
    state_.penColour = colour;
}
void DrawContext::SetNoPen() { state_.hasPen = false; }
void DrawContext::SetBrush(Colour colour) {
    state_.hasBrush = true;
    state_.brushColour = colour;
}
void DrawContext::SetNoBrush() { state_.hasBrush = false; }

void DrawContext::AddFigure(const std::vector<Point>& points, bool close) {
    bitmap_.DrawPendingText();
    cairo_new_path(cr_);
    // Odd widths sit on pixel centres, as the pixel grid of a device context has them.
    const double shift = state_.penWidth % 2 ? 0.5 : 0.0;
    for (size_t i = 0; i < points.size(); ++i) {
        if (i == 0)
            cairo_move_to(cr_, points[i].x + shift, points[i].y + shift);
        else
            cairo_line_to(cr_, points[i].x + shift, points[i].y + shift);
    }
    if (close) cairo_close_path(cr_);
}

void DrawContext::StrokeWithPen() {
    SetSource(cr_, state_.penColour);
    cairo_set_line_width(cr_, state_.penWidth);
    // Thin lines end where the last segment ends, as a device context draws them.
    cairo_set_line_cap(cr_, state_.penWidth > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_stroke(cr_);
}

void DrawContext::Polyline(const std::vector<Point>& points) {
    if (!cr_ || points.size() < 2 || !state_.hasPen) return;
    AddFigure(points, false);
    StrokeWithPen();
}

void DrawContext::Polygon(const std::vector<Point>& points) {
    if (!cr_ || points.size() < 2) return;
    AddFigure(points, true);
    if (state_.hasBrush) {
        SetSource(cr_, state_.brushColour);
        if (state_.hasPen)
            cairo_fill_preserve(cr_);
        else
            cairo_fill(cr_);
    }
    if (state_.hasPen) StrokeWithPen();
    cairo_new_path(cr_);
}

void DrawContext::Rectangle(const Rect& r) {
    if (!cr_ || IsRectEmpty(r)) return;
    if (state_.hasBrush) FillRect(r, state_.brushColour);
    if (state_.hasPen) {
        const std::vector<Point> corners = {MakePoint(r.left, r.top), MakePoint(r.right - 1, r.top),
                                            MakePoint(r.right - 1, r.bottom - 1), MakePoint(r.left, r.bottom - 1)};
        AddFigure(corners, true);
        StrokeWithPen();
    }
}

void DrawContext::SelectFont(const FontRequest& font) {
    state_.font = font;
    ++fontChanges_;
}
void DrawContext::SetTextColour(Colour colour) { state_.textColour = colour; }

cairo_font_face_t* DrawContext::CurrentFace() {
    const FontRequest& f = state_.font;
    // A page asks for the same few faces and characters over and over.
    if (f.strFaceName != lastFace_.name || f.nWeight != lastFace_.weight) {
        lastFace_.name = f.strFaceName;
        lastFace_.weight = f.nWeight;
        lastFace_.face = FontFaceFor(f.strFaceName, f.nWeight);
    }
    return lastFace_.face;
}

TextFont* DrawContext::CurrentTextFont() {
    if (lastFont_ && lastFontChange_ == fontChanges_) return lastFont_;
    const FontRequest& f = state_.font;
    if (!CurrentFace()) return nullptr;
    const FontKey key{lastFace_.face, TextWidth(f), TextSize(f)};
    if (!lastFont_ || key != lastFontKey_) {
        auto it = textFonts_.find(key);
        if (it == textFonts_.end()) {
            if (textFonts_.size() >= kMaxTextFonts) {
                DrawPendingGlyphs();
                glyphImages_->Clear();
                textFonts_.clear();
            }
            // The font the context itself would choose for upright text, options and all.
            cairo_save(cr_);
            SetTextFace(cr_, lastFace_.face, f);
            cairo_scaled_font_t* font = cairo_scaled_font_reference(cairo_get_scaled_font(cr_));
            cairo_restore(cr_);
            it = textFonts_.emplace(key, std::make_unique<TextFont>(font)).first;
        }
        lastFontKey_ = key;
        lastFont_ = it->second.get();
    }
    lastFontChange_ = fontChanges_;
    return lastFont_;
}

const std::vector<Rect>* DrawContext::ClipBoxes() {
    if (clipShape_ == ClipShape::Unknown) {
        clipShape_ = ClipShape::Other;
        clipBoxes_.clear();
        cairo_rectangle_list_t* list = cairo_copy_clip_rectangle_list(cr_);
        if (list->status == CAIRO_STATUS_SUCCESS) {
            clipShape_ = ClipShape::Boxes;
            for (int i = 0; i < list->num_rectangles; ++i) {
                const cairo_rectangle_t& r = list->rectangles[i];
                const Rect box = MakeRect(trunc32(r.x), trunc32(r.y), trunc32(r.x + r.width), trunc32(r.y + r.height));
                if (box.left != r.x || box.top != r.y || box.right != r.x + r.width || box.bottom != r.y + r.height)
                    clipShape_ = ClipShape::Other;
                clipBoxes_.push_back(box);
            }
        }
        cairo_rectangle_list_destroy(list);
    }
    return clipShape_ == ClipShape::Boxes ? &clipBoxes_ : nullptr;
}

void DrawContext::TextOut(int32_t x, int32_t y, std::string_view gbk) {
    if (!cr_ || gbk.empty()) return;
    if (state_.font.nEscapement != 0) {
        TurnedTextOut(x, y, gbk);
        return;
    }
    TextFont* font = CurrentTextFont();
    if (!font) return;
    // Another context's characters on the same bitmap go first.
    if (bitmap_.pendingText_ != this) bitmap_.DrawPendingText();
    const bool composited = ClipBoxes() != nullptr;
    // Where a translation to (x, y) and the current point at the cell's baseline
    // would put each glyph.
    double ux = 0;
    double uy = ToFixedPoint(y + TextSize(state_.font) * kCellAscent) - y;
    for (LaidGlyph& g : font->Glyphs(gbk)) {
        const double gx = ux + x, gy = uy + y;
        ux += g.advanceX;
        uy += g.advanceY;
        if (!g.HasInk() || gx < -kGlyphReach || gy < -kGlyphReach || gx > bitmap_.Width() + kGlyphReach ||
            gy > bitmap_.Height() + kGlyphReach)
            continue;
        if (!composited) {
            DrawGlyphAlone(*font, g.index, gx, gy);
            continue;
        }
        GlyphImages::Outcome found = glyphImages_->Find(*font, g);
        if (found == GlyphImages::Outcome::Full) {
            DrawPendingGlyphs();
            glyphImages_->Clear();
            found = glyphImages_->Find(*font, g);
        }
        if (found != GlyphImages::Outcome::Found) continue;
        // Cairo puts a glyph on the pixel nearest its origin, halves rounded up.
        const auto px = static_cast<int32_t>(std::floor(gx + 0.5)), py = static_cast<int32_t>(std::floor(gy + 0.5));
        pendingGlyphs_->Add(g.image, px, py, state_.textColour);
        if (pendingGlyphs_->Size() >= kMaxPendingGlyphs) DrawPendingGlyphs();
    }
    if (!pendingGlyphs_->IsEmpty()) bitmap_.pendingText_ = this;
}

void DrawContext::DrawPendingGlyphs() {
    if (bitmap_.pendingText_ == this) bitmap_.pendingText_ = nullptr;
    // Glyphs are held only under a clip of boxes, and the clip changes only once they are drawn.
    if (const std::vector<Rect>* clip = ClipBoxes())
        pendingGlyphs_->Composite(bitmap_.Surface(), *clip, glyphImages_->Cache());
}

// Under a clip of another shape a glyph goes out through Cairo, one at a time.
void DrawContext::DrawGlyphAlone(const TextFont& font, unsigned long index, double x, double y) {
    cairo_set_scaled_font(cr_, font.Font());
    SetSource(cr_, state_.textColour);
    const cairo_glyph_t glyph = {index, x, y};
    cairo_show_glyphs(cr_, &glyph, 1);
}

void DrawContext::TurnedTextOut(int32_t x, int32_t y, std::string_view gbk) {
    bitmap_.DrawPendingText();
    const FontRequest& f = state_.font;
    if (!CurrentFace()) return;
    const std::string utf8 = Utf16ToUtf8(NarrowToWide(gbk));
    cairo_save(cr_);
    SetTextFace(cr_, lastFace_.face, f);
    cairo_translate(cr_, x, y);
    // Escapement turns counter-clockwise on the screen; Cairo's angles go clockwise.
    cairo_rotate(cr_, -static_cast<double>(f.nEscapement) * kPi / 1800.0);
    cairo_new_path(cr_);
    cairo_move_to(cr_, 0, TextSize(f) * kCellAscent);
    SetSource(cr_, state_.textColour);
    cairo_show_text(cr_, utf8.c_str());
    cairo_restore(cr_);
}

void DrawContext::StretchPixels(const Rect& target, const uint8_t* pixels, int32_t width, int32_t height,
                                int32_t stride, bool smooth) {
    const double tw = static_cast<double>(target.right) - target.left;
    const double th = static_cast<double>(target.bottom) - target.top;
    if (!cr_ || !pixels || width <= 0 || height <= 0 || tw == 0 || th == 0) return;
    bitmap_.DrawPendingText();
    cairo_surface_t* source = cairo_image_surface_create_for_data(const_cast<uint8_t*>(pixels), CAIRO_FORMAT_RGB24,
                                                                  width, height, stride);
    if (cairo_surface_status(source) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(source);
        return;
    }
    cairo_save(cr_);
    cairo_translate(cr_, target.left, target.top);
    cairo_scale(cr_, tw / width, th / height);
    cairo_set_source_surface(cr_, source, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(cr_);
    cairo_pattern_set_filter(pattern, smooth ? CAIRO_FILTER_BILINEAR : CAIRO_FILTER_NEAREST);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_new_path(cr_);
    cairo_rectangle(cr_, 0, 0, width, height);
    cairo_fill(cr_);
    cairo_restore(cr_);
    cairo_surface_destroy(source);
}

}  // namespace kestrum
