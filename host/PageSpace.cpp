#include "PageSpace.h"

#include <cmath>

namespace {

constexpr double kPageUnitsPerInch = 7420;  // PostScript page units
constexpr double kPointsPerInch = 72;
constexpr double kProofPixelsPerInch = 144;  // the component draws its proof at this resolution

}  // namespace

int32_t PageSpace::X(double pageX) const { return static_cast<int32_t>(std::trunc(pageX * scaleX)); }
int32_t PageSpace::Y(double pageY) const { return static_cast<int32_t>(std::trunc(pageY * scaleY)); }

PageSpace SpaceOf(const PageDoc& doc, const std::string& pageImage) {
    PageSpace space;
    PageInfoDoc page = doc.page.value_or(PageInfoDoc{});
    bool postScript = doc.format == "ps";
    if (postScript) {
        space.fontScale = kPointsPerInch / kPageUnitsPerInch;
        space.fontSizes = "points (PostScript page units x 72 / 7420)";
    } else {
        space.fontSizes = "S2 units, as in the page file";
    }
    if (page.imageWidth > 0 && page.imageHeight > 0 && page.width > 0 && page.height > 0) {
        space.scaleX = page.imageWidth / page.width;
        space.scaleY = page.imageHeight / page.height;
        space.width = static_cast<int32_t>(page.imageWidth);
        space.height = static_cast<int32_t>(page.imageHeight);
        space.pixels = true;
        space.image = pageImage;
        space.coordinates = "pixels of the page's preview image " + pageImage;
    } else if (postScript) {
        space.scaleX = space.scaleY = kProofPixelsPerInch / kPageUnitsPerInch;
        space.width = std::abs(space.X(page.width));
        space.height = std::abs(space.Y(page.height));
        space.pixels = true;
        space.image = doc.file + ".jpg";
        space.coordinates = "pixels of the page's proof drawn at 144 pixels per inch (kestrum render)";
    } else {
        space.width = static_cast<int32_t>(page.width);
        space.height = static_cast<int32_t>(page.height);
        space.coordinates = "S2 page units, as in the page file";
    }
    return space;
}
