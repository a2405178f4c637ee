// A proof of the page drawn from the collected records: rules, filled boxes, pictures
// and the characters of the text blocks, saved as a JPEG. Not a PostScript rendering.
#include "psreader/Render.h"

#include "psreader/PSParser.h"

#include "model/PageInfo.h"
#include "parser/Image.h"
#include "platform/Draw.h"
#include "psreader/ImagePath.h"

#include <cmath>
#include <cstdlib>

namespace kestrum {

namespace {

constexpr Colour kPageColour = 0x00FFFFFF;
constexpr Colour kPageBorder = 0x00FF0000;  // blue
constexpr uint8_t kGb2312CharSet = 134;
constexpr uint8_t kAnsiCharSet = 0;
constexpr uint8_t kClipForRotatedText = 16;
constexpr int32_t kTurnedQuarterClockwise = 2700;  // tenths of a degree
constexpr size_t kMaxFaceBytes = 31;

// Page units to pixels: whole points first, then the scale.
int32_t ToPixels(int32_t pageUnits, float scale) { return trunc32(PageUnitsToPoints(pageUnits) * static_cast<double>(scale)); }

Point ToPixels(const Point& p, float scale) { return MakePoint(ToPixels(p.x, scale), ToPixels(p.y, scale)); }

// The page size in pixels, computed in floating point from page units.
int32_t PagePixels(double pageUnits, float scale) { return trunc32(pageUnits * 72 / 7420 * scale); }

bool IsRule(const CBaseBlock& block) { return block.m_arrChars.front().strFontName == kRuleFont; }

void DrawRules(DrawContext& dc, const BlockList& blocks, float scale) {
    for (const CBaseBlock& block : blocks) {
        if (block.m_nKind != kBlockRuleOrBox || block.m_arrChars.empty() || !IsRule(block) || block.m_arrPoints.size() < 2)
            continue;
        const St_WordInfo& pen = block.m_arrChars.front();
        int32_t points = PageUnitsToPoints(pen.wCode);
        dc.SetPen(trunc32(points * static_cast<double>(scale) + 0.9), pen.crColor);
        std::vector<Point> line;
        for (const Point& p : block.m_arrPoints) line.push_back(ToPixels(p, scale));
        dc.Polyline(line);
    }
}

void DrawBoxes(DrawContext& dc, const BlockList& blocks, float scale) {
    for (const CBaseBlock& block : blocks) {
        if (block.m_nKind != kBlockRuleOrBox || block.m_arrChars.empty() || IsRule(block)) continue;
        dc.SetBrush(block.m_arrChars.front().crColor);
        dc.SetNoPen();
        if (block.m_nShape == kShapePolygon) {
            std::vector<Point> figure;
            for (const Point& p : block.m_arrPoints) figure.push_back(ToPixels(p, scale));
            if (!figure.empty()) dc.Polygon(figure);
        } else {
            const Rect& r = block.m_rcBox;
            dc.Rectangle(MakeRect(ToPixels(r.left, scale), ToPixels(r.top, scale), ToPixels(r.right, scale),
                                  ToPixels(r.bottom, scale)));
        }
    }
}

// Whether two characters get the same font request.
bool SameFont(const St_WordInfo& a, const St_WordInfo& b) {
    return a.strFontName == b.strFontName && a.nHeight == b.nHeight && a.nWidth == b.nWidth &&
           ((a.wCode ^ b.wCode) & 0x8000) == 0 && (a.fAngle == 90.0f) == (b.fAngle == 90.0f);
}

// The characters of a block mostly share one font: its request is made and selected
// again only when the character asks for another.
class TextDrawer {
public:
    TextDrawer(DrawContext& dc, float scale) : dc_(dc), scale_(scale), colour_(dc.TextColour()) {}
    ~TextDrawer() { dc_.SetTextColour(colour_); }

    void Draw(const CBaseBlock& block, const St_WordInfo& ch) {
        if (!fontOf_ || !SameFont(*fontOf_, ch)) {
            font_ = CharacterFont(ch, scale_);
            dc_.SelectFont(font_);
            fontOf_ = &ch;
        }
        char text[2];
        size_t length = 0;
        if (ch.wCode & 0x8000) text[length++] = static_cast<char>(ch.wCode >> 8);
        text[length++] = static_cast<char>(ch.wCode & 0xFF);

        int64_t x = static_cast<int64_t>(block.m_rcBox.left) + ch.nX;
        int64_t y = static_cast<int64_t>(block.m_rcBox.top) + ch.nY;
        if (ch.fAngle == 90.0f) x = trunc32(static_cast<double>(x) + ch.nHeight * 1.2);
        int32_t px = ToPixels(trunc32(static_cast<double>(x)), scale_);
        int32_t py = ToPixels(trunc32(static_cast<double>(y)), scale_);
        // The record's y is the baseline; text goes out with its cell's top at the point.
        py = trunc32(py + font_.nHeight * 0.8);

        dc_.SetTextColour(ch.crColor);
        dc_.TextOut(px, py, std::string_view(text, length));
    }

private:
    DrawContext& dc_;
    const float scale_;
    const Colour colour_;  // the context's text colour, given back at the end
    const St_WordInfo* fontOf_ = nullptr;
    FontRequest font_;
};

}  // namespace

FontRequest CharacterFont(const St_WordInfo& ch, float scale) {
    FontRequest font;
    font.nHeight = -trunc32(PageUnitsToPoints(ch.nHeight) * 1.04 * scale + 2.0);
    font.nWidth = ch.nWidth == ch.nHeight ? 0 : trunc32(MulDiv32(ch.nWidth, 36, 7420) * 1.04 * scale + 1.0);
    font.nCharSet = (ch.wCode & 0x8000) ? kGb2312CharSet : kAnsiCharSet;
    font.strFaceName = ch.strFontName.substr(0, kMaxFaceBytes);
    if (ch.fAngle == 90.0f) {
        font.nWeight = 400;
        font.nEscapement = kTurnedQuarterClockwise;
        font.nClipPrecision = kClipForRotatedText;
    }
    return font;
}

void CPSParser::DrawPage(DrawContext& dc) {
    const float s = m_fRenderScale;
    Rect page = MakeRect(0, 0, PagePixels(m_dPageWidth, s), PagePixels(m_dPageHeight, s));
    dc.FillRect(page, kPageColour);
    dc.FrameRect(page, kPageBorder);
    dc.IntersectClip(page);

    DrawRules(dc, m_arrBlocks, s);
    DrawBoxes(dc, m_arrBlocks, s);
    for (const auto& picture : m_arrImages) picture->Draw(dc, s);
    TextDrawer text(dc, s);
    for (const CBaseBlock& block : m_arrBlocks) {
        if (block.m_nKind == kBlockRuleOrBox || block.m_nKind == kBlockPicture) continue;
        for (const St_WordInfo& ch : block.m_arrChars) {
            if (!ch.IsParagraphMarker()) text.Draw(block, ch);
        }
    }
}

bool CPSParser::RenderPageImage(const std::string& jpegPath, bool setPixelSize) {
    int32_t width = std::abs(PagePixels(m_dPageWidth, m_fRenderScale));
    int32_t height = std::abs(PagePixels(m_dPageHeight, m_fRenderScale));
    DrawBitmap bitmap(width, height);
    // A page too large to hold in memory (or of no size) cannot be drawn.
    if (!bitmap.IsValid()) return false;
    {
        DrawContext dc(bitmap);
        dc.FillRect(MakeRect(0, 0, width, height), kPageColour);
        dc.SetPrinting(true);
        DrawPage(dc);
    }
    CxImage image;
    if (!image.CreateFromHBITMAP(bitmap)) return false;
    if (setPixelSize && m_pPageInfo) {
        m_pPageInfo->m_dImageWidth = image.GetWidth();
        m_pPageInfo->m_dImageHeight = image.GetHeight();
    }
    // Reporting a JPEG that was never written as drawn would hand the host a missing file.
    return image.Save(jpegPath, CXIMAGE_FORMAT_JPG);
}

}  // namespace kestrum
