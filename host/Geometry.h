// Region outlines in the export space: the polygon of a region and its bounding box.
#pragma once

#include "PageSpace.h"
#include "Regions.h"

#include <string>
#include <vector>

struct SpacePoint {
    int32_t x = 0, y = 0;
};

struct SpaceBox {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
};

// The outline in export units, clamped to the page's first quadrant (archive formats
// take no negative coordinates); empty when the component gave none.
std::vector<SpacePoint> OutlineOf(const PageRegion& region, const PageSpace& space);
SpaceBox BoxOf(const std::vector<SpacePoint>& outline);
// "x,y x,y ..." as PAGE and SVG write polygons.
std::string PointsText(const std::vector<SpacePoint>& outline);
