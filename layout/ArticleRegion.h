// The region an article covers on the page, and whether a rectangle lies mostly in it.
#pragma once

#include "platform/Rect.h"

namespace kestrum {

class CArticle;

// Which of an article's parts count in its region.
enum RegionParts : int {
    kRegionTitles = 1,    // main title, subtitle, lead title
    kRegionBody = 2,
    kRegionCaptions = 4,  // captions of the pictures that have settled
    kRegionPictures = 8,
    kRegionAll = 255,
};

// Union of the region rectangles of the selected parts (empty ones add nothing);
// false when no part was selected.
bool GetArticleRegion(const CArticle& article, int flags, Rect& region);

// True when more than half of the article's region lies in `rect`, or more than
// half of `rect` lies in the region.
bool ArticleCovers(const CArticle& article, const Rect& rect);

}  // namespace kestrum
