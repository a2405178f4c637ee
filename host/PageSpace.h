// The space the archive exports and the view give coordinates and font sizes in:
// pixels of the page image when the page has one (the host's preview, or the proof
// drawn of a PostScript page), the reader's page units otherwise; font sizes in
// points where the page units have a known size.
#pragma once

#include "PageDoc.h"

#include <string>

struct PageSpace {
    double scaleX = 1, scaleY = 1;  // output units per page unit
    int32_t width = 0, height = 0;  // the page in output units
    bool pixels = false;            // false: S2 page units
    std::string image;              // the image the coordinates refer to; empty for page units
    std::string coordinates;        // what the coordinates are, for the files' metadata
    std::string fontSizes;          // what the font sizes are, for the files' metadata
    double fontScale = 1;           // output font size per page-unit size

    int32_t X(double pageX) const;
    int32_t Y(double pageY) const;
    double FontSize(double pageUnits) const { return pageUnits * fontScale; }
};

// `pageImage` is the preview image the host named, empty without one.
PageSpace SpaceOf(const PageDoc& doc, const std::string& pageImage);
