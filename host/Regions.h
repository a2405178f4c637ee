// The page's regions as the archive exports and the view name them: every text block
// (a composite as the blocks it was merged from) and picture once, with an ID, its
// role, and the groups of the reading order: one per article, in article order
// (titles, body parts, pictures with their captions), and one for the blocks a page
// holds outside articles. A page without articles of its own whose blocks carry
// article numbers is grouped by those numbers.
#pragma once

#include "PageDoc.h"

#include <string>
#include <vector>

enum class RegionRole { kTitle, kBody, kCaption, kPicture, kOther };

struct PageRegion {
    std::string id;
    RegionRole role = RegionRole::kOther;
    const TextBlockDoc* text = nullptr;     // text regions
    const PictureDoc* picture = nullptr;    // picture regions
    std::string captionId;                  // a picture's caption region, empty without one
    size_t group = 0;                       // index into PageRegions::groups
};

struct RegionGroup {
    std::string id;
    std::string label;
    bool article = false;         // false: the blocks outside articles
    std::vector<size_t> members;  // indexes into PageRegions::regions, in reading order
};

struct PageRegions {
    std::vector<PageRegion> regions;
    std::vector<RegionGroup> groups;
    bool numberedArticles = false;  // the articles come from the blocks' article numbers
};

// The document must outlive the result, which points into it.
PageRegions ListRegions(const PageDoc& doc);

// A sentence for an export's metadata saying where the articles come from (with a
// leading space), empty for the component's own articles.
std::string ArticleSourceNote(const PageRegions& regions);

// The role's name in the view and in CSS classes: "title", "body", "caption", "picture", "other".
const char* RoleName(RegionRole role);
