// One picture placed on a page: where it is visible (clip outline), where its image
// lies, which file it shows, and the image once loaded. Shared by both readers.
#pragma once

#include "platform/Rect.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrum {

class CxImage;
class DrawContext;

class CImagePath {
public:
    // An image rectangle with right == left takes the clip rectangle. `name` may be null.
    CImagePath(const Rect& clip, const char* name, const Rect& image);
    virtual ~CImagePath();
    CImagePath(const CImagePath&) = delete;
    CImagePath& operator=(const CImagePath&) = delete;

    // Records path and angle; with `load` set and an existing file, loads the image
    // and, for an angle beyond 0.01 degrees, turns rectangles and image. True when
    // an image object was created.
    bool SetImage(const std::string& path, double angle, bool load);
    static void RotateRect(Rect& rect, int32_t cx, int32_t cy, double degrees);
    // Draws the image clipped to the outline at `scale` pixels per point.
    bool Draw(DrawContext& dc, float scale);

    Rect m_rcClip;                     // bounding rectangle of the visible outline (points for PostScript)
    Rect m_rcImage;                    // rectangle the image is stretched into
    int32_t m_nShape = 3;              // 2 ellipse, 4 polygon, 5 Bezier, else rectangle
    std::vector<Point> m_arrOutline;   // outline for shapes 4 and 5
    double m_dAngle = 0.0;             // rotation, degrees
    std::string m_strName;             // normally the file name with extension
    std::string m_strImagePath;        // image file
    std::unique_ptr<CxImage> m_pImage; // loaded image, may be null
    float m_fScale = 1.0f;             // scale of the last Draw
};

}  // namespace kestrum
