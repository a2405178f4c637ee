// The page view: one self-contained HTML file showing the page image with every
// region and article drawn over it, for people to check the reading by eye.
#pragma once

#include "PageDoc.h"

#include <string>

// `jpeg` is the page image (the preview or the proof), empty when the page has none;
// `pageImage` the preview image the host named, empty without one.
std::string PageViewHtml(const PageDoc& doc, const std::string& pageImage, const std::string& jpeg);
