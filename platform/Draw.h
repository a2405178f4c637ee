// The 2-D drawing layer in place of the platform's device contexts: a 24-bit memory
// bitmap, a context drawing into it with pens, brushes, clip paths, fonts and text,
// over Cairo with FreeType and fontconfig. Coordinates are pixels, y downwards;
// colours are 0x00BBGGRR. Shapes are drawn without anti-aliasing, as the page
// proofs always were; glyphs keep their grey edges.
#pragma once

#include "platform/Rect.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_font_face cairo_font_face_t;
typedef struct _cairo_surface cairo_surface_t;

namespace kestrum {

class DrawContext;
class GlyphImages;
class PendingGlyphs;
class TextFont;

using Colour = uint32_t;  // 0x00BBGGRR

// Pixel buffers above this are refused: picture and page sizes come from untrusted files.
constexpr size_t kMaxBitmapBytes = size_t{512} << 20;

constexpr Colour RgbColour(uint8_t r, uint8_t g, uint8_t b) {
    return Colour{r} | (Colour{g} << 8) | (Colour{b} << 16);
}

// A 24-bit bitmap in memory, black when created. Sizes that are not positive, sides
// beyond 32767 pixels (Cairo's limit) or pixels beyond kMaxBitmapBytes give an
// invalid bitmap.
class DrawBitmap {
public:
    DrawBitmap(int32_t width, int32_t height);
    ~DrawBitmap();
    DrawBitmap(const DrawBitmap&) = delete;
    DrawBitmap& operator=(const DrawBitmap&) = delete;

    bool IsValid() const { return surface_ != nullptr; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Rows top-down, `Stride()` bytes apart, one 32-bit word per pixel 0x00RRGGBB
    // (B, G, R, unused in memory). Flushes pending drawing first.
    const uint8_t* Pixels() const;
    int32_t Stride() const;
    // The colour (0x00BBGGRR) at a pixel; 0 outside the bitmap.
    Colour PixelAt(int32_t x, int32_t y) const;

    cairo_surface_t* Surface() const { return surface_; }

private:
    friend class DrawContext;
    // Characters a context holds back are drawn before anything reads or draws the pixels.
    void DrawPendingText() const;

    mutable DrawContext* pendingText_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    cairo_surface_t* surface_ = nullptr;
};

// A figure for clipping: moves, lines, cubic Béziers, closed sub-figures,
// ellipses and rectangles, in pixels.
class DrawPath {
public:
    void MoveTo(Point p);
    void LineTo(Point p);
    void BezierTo(Point c1, Point c2, Point end);
    void CloseFigure();
    void Ellipse(const Rect& box);
    void Rectangle(const Rect& box);
    bool IsEmpty() const { return steps_.empty(); }

    enum class Op : uint8_t { Move, Line, Bezier, Close, Ellipse, Rectangle };
    struct Step {
        Op op;
        Point p[3];
    };
    const std::vector<Step>& Steps() const { return steps_; }

private:
    std::vector<Step> steps_;
};

// A font request as the page renderer makes it.
struct FontRequest {
    int32_t nHeight = 0;       // character height (em) in pixels, either sign; 0: 12 pixels
    int32_t nWidth = 0;        // average character width in pixels; 0: the face's own
    int32_t nEscapement = 0;   // tenths of a degree counter-clockwise; 2700 turns text a quarter clockwise
    int32_t nWeight = 0;       // 0 or 400 normal, 700 and above bold
    uint8_t nCharSet = 0;      // 0 ANSI, 134 GB2312
    uint8_t nClipPrecision = 0;
    std::string strFaceName;   // GBK display name of the font table
};

// Drawing into one bitmap, which must outlive the context. State (clip, pen,
// brush, font, text colour) is saved and restored as a whole.
class DrawContext {
public:
    explicit DrawContext(DrawBitmap& bitmap);
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    bool IsValid() const { return cr_ != nullptr; }
    DrawBitmap& Bitmap() { return bitmap_; }

    // Pictures without an image are left out of a printed page.
    void SetPrinting(bool printing) { printing_ = printing; }
    bool IsPrinting() const { return printing_; }

    void Save();
    // Back to the state of the matching Save; without one, nothing happens.
    void Restore();

    void IntersectClip(const Rect& r);
    void IntersectClip(const DrawPath& path);

    // The pixels left..right-1, top..bottom-1.
    void FillRect(const Rect& r, Colour colour);
    // A one-pixel border just inside the rectangle.
    void FrameRect(const Rect& r, Colour colour);

    // A width below 1 draws one pixel wide.
    void SetPen(int32_t width, Colour colour);
    void SetNoPen();
    void SetBrush(Colour colour);
    void SetNoBrush();
    // Along the points with the current pen.
    void Polyline(const std::vector<Point>& points);
    // A closed figure, filled with the brush and outlined with the pen.
    void Polygon(const std::vector<Point>& points);
    // The rectangle with the brush and the pen (GDI's Rectangle: right and bottom excluded).
    void Rectangle(const Rect& r);

    void SelectFont(const FontRequest& font);
    void SetTextColour(Colour colour);
    Colour TextColour() const { return state_.textColour; }
    // One or two GBK bytes (or a longer GBK string) with a transparent background;
    // (x, y) is the top-left corner of the first character's cell, which is one em
    // high with the baseline 220/256 em below its top (the metrics of the Chinese
    // faces of the font table, whatever font stands in for them). Upright characters
    // may be held back to go out with the following ones; whatever is drawn or read
    // afterwards finds them drawn.
    void TextOut(int32_t x, int32_t y, std::string_view gbk);

    // A picture: `width` x `height` pixels, rows top-down `stride` bytes apart,
    // 0x00RRGGBB words as in DrawBitmap, stretched into `target` without smoothing
    // (nearest pixel) unless `smooth` is set.
    void StretchPixels(const Rect& target, const uint8_t* pixels, int32_t width, int32_t height,
                       int32_t stride, bool smooth);

private:
    struct State {
        bool hasPen = true;
        int32_t penWidth = 1;
        Colour penColour = 0;
        bool hasBrush = true;
        Colour brushColour = 0xFFFFFF;
        Colour textColour = 0;
        FontRequest font;
    };
    void AddFigure(const std::vector<Point>& points, bool close);
    void StrokeWithPen();
    friend class DrawBitmap;
    cairo_font_face_t* CurrentFace();
    TextFont* CurrentTextFont();
    // The clip as whole-pixel boxes, or null when it has another shape.
    const std::vector<Rect>* ClipBoxes();
    void TurnedTextOut(int32_t x, int32_t y, std::string_view gbk);
    void DrawGlyphAlone(const TextFont& font, unsigned long index, double x, double y);
    void DrawPendingGlyphs();

    DrawBitmap& bitmap_;
    cairo_t* cr_ = nullptr;
    struct FaceChoice {
        std::string name;
        int32_t weight = -1;
        cairo_font_face_t* face = nullptr;
    };
    FaceChoice lastFace_;  // the face of the last TextOut
    // A scaled font by face and the x and y sizes of its matrix.
    using FontKey = std::tuple<cairo_font_face_t*, double, double>;
    std::map<FontKey, std::unique_ptr<TextFont>> textFonts_;
    FontKey lastFontKey_{};
    TextFont* lastFont_ = nullptr;
    // Counts the font's changes: characters in an unchanged font skip the lookups.
    uint64_t fontChanges_ = 0;
    uint64_t lastFontChange_ = 0;
    std::unique_ptr<GlyphImages> glyphImages_;
    std::unique_ptr<PendingGlyphs> pendingGlyphs_;
    enum class ClipShape : uint8_t { Unknown, Boxes, Other };
    ClipShape clipShape_ = ClipShape::Unknown;
    std::vector<Rect> clipBoxes_;
    bool printing_ = false;
    State state_;
    std::vector<State> saved_;
};

// The family (UTF-8) of the installed font that a display name of the font table
// resolves to.
std::string ResolvedFontFamily(std::string_view gbkFaceName);

}  // namespace kestrum
