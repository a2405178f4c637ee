// The page document as ALTO 4.4, and the METS file that names its articles.
#pragma once

#include "PageDoc.h"

#include <string>

// `pageImage` is the preview image the host named, empty without one.
std::string AltoXml(const PageDoc& doc, const std::string& pageImage);

// `altoHref` is where the METS file finds the ALTO file (a path relative to the METS file).
std::string MetsXml(const PageDoc& doc, const std::string& altoHref);
