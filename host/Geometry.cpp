#include "Geometry.h"

#include <algorithm>

std::vector<SpacePoint> OutlineOf(const PageRegion& region, const PageSpace& space) {
    const std::vector<DocPoint>& points = region.text ? region.text->region : region.picture->region;
    std::vector<SpacePoint> out;
    for (const DocPoint& p : points) out.push_back({std::max(0, space.X(p.x)), std::max(0, space.Y(p.y))});
    return out;
}

SpaceBox BoxOf(const std::vector<SpacePoint>& outline) {
    if (outline.empty()) return {};
    SpaceBox box{outline[0].x, outline[0].y, outline[0].x, outline[0].y};
    for (const SpacePoint& p : outline) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

std::string PointsText(const std::vector<SpacePoint>& outline) {
    std::string out;
    for (const SpacePoint& p : outline) {
        if (!out.empty()) out += ' ';
        out += std::to_string(p.x) + "," + std::to_string(p.y);
    }
    return out;
}
