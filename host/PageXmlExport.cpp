#include "PageXmlExport.h"

#include "Geometry.h"
#include "Xml.h"

namespace {

constexpr const char* kNamespace = "http://schema.primaresearch.org/PAGE/gts/pagecontent/2019-07-15";

const char* RegionType(RegionRole role) {
    switch (role) {
    case RegionRole::kTitle: return "heading";
    case RegionRole::kBody: return "paragraph";
    case RegionRole::kCaption: return "caption";
    default: return "other";
    }
}

// Reading direction and line order of the block's layout code; null when undetermined.
struct Direction {
    const char* reading;
    const char* lineOrder;
};
Direction DirectionOf(int32_t layout) {
    switch (layout) {
    case 1: return {"left-to-right", "top-to-bottom"};
    case 2: return {"right-to-left", "top-to-bottom"};
    case 3: return {"top-to-bottom", "left-to-right"};
    case 4: return {"top-to-bottom", "right-to-left"};
    case 5: return {"top-to-bottom", nullptr};
    default: return {nullptr, nullptr};
    }
}

void WriteReadingOrder(XmlWriter& xml, const PageRegions& regions) {
    if (regions.groups.empty()) return;
    xml.Open("ReadingOrder").Open("OrderedGroup").Attr("id", "reading-order").Attr("caption", "page");
    int64_t index = 0;
    for (const RegionGroup& group : regions.groups) {
        xml.Open("OrderedGroupIndexed").Attr("id", group.id).Attr("index", index++).Attr("caption", group.label);
        int64_t member = 0;
        for (size_t r : group.members)
            xml.Open("RegionRefIndexed").Attr("index", member++).Attr("regionRef", regions.regions[r].id).Close();
        xml.Close();
    }
    xml.Close().Close();
}

void WriteRelations(XmlWriter& xml, const PageRegions& regions) {
    bool open = false;
    int n = 0;
    for (const PageRegion& region : regions.regions) {
        if (region.captionId.empty()) continue;
        if (!open) xml.Open("Relations");
        open = true;
        xml.Open("Relation").Attr("id", "caption" + std::to_string(++n)).Attr("type", "link").Attr("custom", "caption");
        xml.Open("SourceRegionRef").Attr("regionRef", region.id).Close();
        xml.Open("TargetRegionRef").Attr("regionRef", region.captionId).Close();
        xml.Close();
    }
    if (open) xml.Close();
}

void WriteRegion(XmlWriter& xml, const PageRegion& region, const std::vector<SpacePoint>& outline, const PageSpace& space) {
    if (region.picture) {
        xml.Open("ImageRegion").Attr("id", region.id);
        xml.Open("Coords").Attr("points", PointsText(outline)).Close();
        xml.Close();
        return;
    }
    const TextBlockDoc& block = *region.text;
    xml.Open("TextRegion").Attr("id", region.id).Attr("type", RegionType(region.role));
    Direction direction = DirectionOf(block.layout);
    if (direction.reading) xml.Attr("readingDirection", direction.reading);
    if (direction.lineOrder) xml.Attr("textLineOrder", direction.lineOrder);
    xml.Open("Coords").Attr("points", PointsText(outline)).Close();
    xml.Open("TextEquiv").Element("Unicode", block.text.value_or("")).Close();
    xml.Open("TextStyle");
    if (block.fontName && !block.fontName->empty()) xml.Attr("fontFamily", *block.fontName);
    xml.AttrNumber("fontSize", space.FontSize(block.fontSize)).Close();
    xml.Close();
}

}  // namespace

std::string PageXml(const PageDoc& doc, const std::string& pageImage) {
    PageSpace space = SpaceOf(doc, pageImage);
    PageRegions regions = ListRegions(doc);
    std::string out;
    XmlWriter xml(out);
    xml.Open("PcGts").Attr("xmlns", kNamespace).Attr("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
    xml.Attr("xsi:schemaLocation", std::string(kNamespace) + " " + kNamespace + "/pagecontent.xsd");
    std::string now = XmlNow();
    xml.Open("Metadata").Element("Creator", "kestrum").Element("Created", now).Element("LastChange", now);
    xml.Element("Comments", "Page " + doc.file + ". Coordinates: " + space.coordinates + ". Font sizes: " + space.fontSizes + "." +
                                 ArticleSourceNote(regions));
    xml.Close();
    xml.Open("Page").Attr("imageFilename", space.image.empty() ? doc.file : space.image);
    xml.Attr("imageWidth", space.width).Attr("imageHeight", space.height);
    WriteReadingOrder(xml, regions);
    WriteRelations(xml, regions);
    for (const PageRegion& region : regions.regions) {
        std::vector<SpacePoint> outline = OutlineOf(region, space);
        // PAGE needs an outline for every region; the component gives one for every block.
        if (!outline.empty()) WriteRegion(xml, region, outline, space);
    }
    xml.Close().Close();
    return out;
}
