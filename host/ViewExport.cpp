#include "ViewExport.h"

#include "Base64.h"
#include "Geometry.h"
#include "Xml.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kStyle = R"(
body { margin: 0; font-family: sans-serif; display: flex; align-items: flex-start; }
#page { flex: none; background: #fff; }
#page .region { fill-opacity: 0.35; stroke-width: 2; cursor: pointer; }
#page .region:hover { fill-opacity: 0.6; }
#page .title { fill: #d62728; stroke: #d62728; }
#page .body { fill: #1f77b4; stroke: #1f77b4; }
#page .caption { fill: #2ca02c; stroke: #2ca02c; }
#page .picture { fill: #ff7f0e; stroke: #ff7f0e; }
#page .other { fill: #7f7f7f; stroke: #7f7f7f; }
#page .group { fill: none; stroke: #6a3d9a; stroke-width: 3; stroke-dasharray: 12 6; }
#page .order { font-size: 22px; font-weight: bold; fill: #000; stroke: #fff; stroke-width: 4px; paint-order: stroke; pointer-events: none; }
#page .highlight { fill-opacity: 0.75; stroke: #000; stroke-width: 5; }
#page .group.highlight { fill: none; stroke: #000; stroke-width: 6; }
aside { flex: none; width: 300px; padding: 8px 12px; font-size: 14px; }
aside li { cursor: pointer; padding: 4px; margin-bottom: 2px; list-style: none; border-left: 4px solid #6a3d9a; }
aside li.highlight { background: #fde68a; }
aside ul { padding: 0; }
.key span { display: inline-block; width: 12px; height: 12px; margin: 0 4px 0 10px; vertical-align: middle; }
#info { white-space: pre-wrap; border-top: 1px solid #ccc; margin-top: 8px; padding-top: 8px; }
)";

// Clicking an article highlights its regions and outline; hovering a region shows its
// text and font beside the page.
constexpr const char* kScript = R"(
(function () {
  var items = document.querySelectorAll('#articles li');
  items.forEach(function (item) {
    item.addEventListener('click', function () {
      document.querySelectorAll('.highlight').forEach(function (e) { e.classList.remove('highlight'); });
      item.classList.add('highlight');
      document.querySelectorAll('#page [data-group="' + item.dataset.group + '"]').forEach(function (e) {
        e.classList.add('highlight');
      });
    });
  });
  var info = document.getElementById('info');
  document.querySelectorAll('#page .region').forEach(function (region) {
    region.addEventListener('mouseenter', function () { info.textContent = region.querySelector('title').textContent; });
  });
})();
)";

std::string Escaped(const std::string& text) { return XmlEscaped(text, true); }

std::string Describe(const PageRegion& region, const PageSpace& space) {
    std::string text = region.id + " (" + RoleName(region.role) + ")";
    if (region.text) {
        const TextBlockDoc& block = *region.text;
        char size[32];
        std::snprintf(size, sizeof size, "%.2f", space.FontSize(block.fontSize));
        text += "\nfont: " + (block.fontName && !block.fontName->empty() ? *block.fontName : std::string("(none)")) +
                ", " + size + (space.fontScale == 1 ? " S2 units" : " pt");
        text += "\n" + block.text.value_or("");
    } else {
        text += "\n" + region.picture->name.value_or("(no name)");
        if (!region.captionId.empty()) text += "\ncaption: " + region.captionId;
    }
    return text;
}

std::string GroupLabel(const RegionGroup& group, const PageRegions& regions) {
    std::string first;
    for (size_t r : group.members) {
        const PageRegion& region = regions.regions[r];
        if (region.text && region.text->text && !region.text->text->empty()) {
            first = *region.text->text;
            break;
        }
    }
    // The first few characters name the story; a cut inside a UTF-8 sequence is avoided.
    size_t cut = std::min<size_t>(first.size(), 36);
    while (cut < first.size() && (static_cast<unsigned char>(first[cut]) & 0xC0) == 0x80) ++cut;
    return first.substr(0, cut);
}

void WriteOverlay(std::string& out, const PageRegions& regions, const PageSpace& space) {
    for (const RegionGroup& group : regions.groups) {
        SpaceBox all;
        bool any = false;
        int number = 0;
        for (size_t r : group.members) {
            const PageRegion& region = regions.regions[r];
            std::vector<SpacePoint> outline = OutlineOf(region, space);
            if (outline.empty()) continue;
            SpaceBox box = BoxOf(outline);
            all = any ? SpaceBox{std::min(all.left, box.left), std::min(all.top, box.top), std::max(all.right, box.right),
                                 std::max(all.bottom, box.bottom)}
                      : box;
            any = true;
            out += "<polygon class=\"region " + std::string(RoleName(region.role)) + "\" id=\"" + region.id +
                   "\" data-group=\"" + group.id + "\" points=\"" + PointsText(outline) + "\"><title>" +
                   Escaped(Describe(region, space)) + "</title></polygon>\n";
            out += "<text class=\"order\" x=\"" + std::to_string(box.left + 4) + "\" y=\"" + std::to_string(box.top + 22) +
                   "\">" + std::to_string(++number) + "</text>\n";
        }
        if (any && group.article)
            out += "<rect class=\"group\" data-group=\"" + group.id + "\" x=\"" + std::to_string(all.left - 6) + "\" y=\"" +
                   std::to_string(all.top - 6) + "\" width=\"" + std::to_string(all.Width() + 12) + "\" height=\"" +
                   std::to_string(all.Height() + 12) + "\"/>\n";
    }
}

}  // namespace

std::string PageViewHtml(const PageDoc& doc, const std::string& pageImage, const std::string& jpeg) {
    PageSpace space = SpaceOf(doc, pageImage);
    PageRegions regions = ListRegions(doc);
    std::string title = doc.page && doc.page->title ? *doc.page->title : doc.file;
    std::string w = std::to_string(space.width), h = std::to_string(space.height);
    std::string out = "<!DOCTYPE html>\n<html lang=\"zh\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escaped(title) +
                      " - kestrum view</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    out += "<svg id=\"page\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    if (!jpeg.empty())
        out += "<image x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" href=\"data:image/jpeg;base64," + Base64(jpeg) +
               "\"/>\n";
    WriteOverlay(out, regions, space);
    out += "</svg>\n<aside>\n<h2>" + Escaped(title) + "</h2>\n<p>" + Escaped(doc.file) + "<br>" +
           (jpeg.empty() ? "No page image: the regions are drawn on a blank page. " : "") + "Coordinates: " +
           Escaped(space.coordinates) + "." + Escaped(ArticleSourceNote(regions)) + "</p>\n<p class=\"key\"><span style=\"background:#d62728\"></span>title"
           "<span style=\"background:#1f77b4\"></span>body<span style=\"background:#2ca02c\"></span>caption"
           "<span style=\"background:#ff7f0e\"></span>picture</p>\n<ul id=\"articles\">\n";
    for (const RegionGroup& group : regions.groups) {
        out += "<li data-group=\"" + group.id + "\"><b>" + Escaped(group.label) + "</b> (" +
               std::to_string(group.members.size()) + ")<br>" + Escaped(GroupLabel(group, regions)) + "</li>\n";
    }
    out += "</ul>\n<div id=\"info\">Point at a region to read its text and font; click an article to highlight it.</div>\n"
           "</aside>\n<script>" + std::string(kScript) + "</script>\n</body>\n</html>\n";
    return out;
}
