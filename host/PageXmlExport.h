// The page document as PAGE XML (2019-07-15).
#pragma once

#include "PageDoc.h"

#include <string>

// `pageImage` is the preview image the host named, empty without one.
std::string PageXml(const PageDoc& doc, const std::string& pageImage);
