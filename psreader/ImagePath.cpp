#include "psreader/ImagePath.h"

#include "parser/Image.h"
#include "platform/Draw.h"
#include "platform/Files.h"

#include <algorithm>
#include <cmath>

namespace kestrum {

namespace {

constexpr double kMinAngle = 0.01;  // degrees; smaller turns are left alone

Rect Scaled(const Rect& r, float s) {
    return MakeRect(trunc32(r.left * s), trunc32(r.top * s), trunc32(r.right * s), trunc32(r.bottom * s));
}

Point Scaled(const Point& p, float s) { return MakePoint(trunc32(p.x * s), trunc32(p.y * s)); }

}  // namespace

CImagePath::CImagePath(const Rect& clip, const char* name, const Rect& image)
    : m_rcClip(clip), m_rcImage(image.right == image.left ? clip : image), m_strName(name ? name : "") {}

CImagePath::~CImagePath() = default;

bool CImagePath::SetImage(const std::string& path, double angle, bool load) {
    m_dAngle = angle;
    m_strImagePath = path;
    if (!load || path.empty() || !PathExists(path)) return false;
    m_pImage = std::make_unique<CxImage>(path, CxImage::FindType(path));
    if (m_pImage->IsValid() && std::fabs(angle) > kMinAngle) {
        const int32_t cx = (m_rcImage.left + m_rcImage.right) / 2;
        const int32_t cy = (m_rcImage.top + m_rcImage.bottom) / 2;
        RotateRect(m_rcImage, cx, cy, -angle);
        RotateRect(m_rcClip, cx, cy, -angle);
        m_pImage->Rotate(static_cast<float>(-angle));
    }
    return true;
}

void CImagePath::RotateRect(Rect& rect, int32_t cx, int32_t cy, double degrees) {
    const float halfPi = std::acos(0.0f);
    const auto a = static_cast<float>(-degrees * (halfPi * 2.0f) / 180.0);
    const double c = std::cos(a);
    const double s = std::sin(a);
    OffsetRect(rect, -cx, -cy);
    const Point corners[4] = {MakePoint(rect.left, rect.top), MakePoint(rect.left, rect.bottom),
                              MakePoint(rect.right, rect.bottom), MakePoint(rect.right, rect.top)};
    Rect box{};
    for (int i = 0; i < 4; ++i) {
        const double x = corners[i].x;
        const double y = corners[i].y;
        const int32_t nx = trunc32(x * c - y * s);
        const int32_t ny = trunc32(x * s + y * c);
        if (i == 0) {
            box = MakeRect(nx, ny, nx, ny);
            continue;
        }
        box.left = std::min(box.left, nx);
        box.top = std::min(box.top, ny);
        box.right = std::max(box.right, nx);
        box.bottom = std::max(box.bottom, ny);
    }
    OffsetRect(box, cx, cy);
    rect = box;
}

bool CImagePath::Draw(DrawContext& dc, float scale) {
    m_fScale = scale;
    if (!m_pImage) return false;
    const Rect clip = Scaled(m_rcClip, scale);
    Rect target = Scaled(m_rcImage, scale);

    std::vector<Point> outline;
    outline.reserve(m_arrOutline.size());
    for (const Point& p : m_arrOutline) outline.push_back(Scaled(p, scale));

    DrawPath path;
    if (m_nShape == 2) {
        path.Ellipse(clip);
    } else if ((m_nShape == 4 || m_nShape == 5) && !outline.empty()) {
        path.MoveTo(outline[0]);
        size_t next = 1;
        // Whole Bézier groups only; what is left over is joined with lines.
        if (m_nShape == 5)
            for (; next + 3 <= outline.size(); next += 3) path.BezierTo(outline[next], outline[next + 1], outline[next + 2]);
        for (; next < outline.size(); ++next) path.LineTo(outline[next]);
        path.CloseFigure();
    } else {
        path.Rectangle(clip);
    }

    if (std::fabs(m_dAngle) > kMinAngle && outline.size() > 2) {
        target = MakeRect(10000000, 100000000, 0, 0);
        for (const Point& p : outline) {
            target.left = std::min(target.left, p.x);
            target.top = std::min(target.top, p.y);
            target.right = std::max(target.right, p.x);
            target.bottom = std::max(target.bottom, p.y);
        }
    }

    dc.Save();
    dc.IntersectClip(path);
    m_pImage->Draw(dc, target, nullptr, false);
    dc.Restore();
    return true;
}

}  // namespace kestrum
