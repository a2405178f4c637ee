// The page document as one JSON document (UTF-8), the dump's default format.
#pragma once

#include "PageDoc.h"

#include <string>

std::string PageJson(const PageDoc& doc);
