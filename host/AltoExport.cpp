#include "AltoExport.h"

#include "TextLines.h"
#include "Xml.h"

#include <map>
#include <utility>

namespace {

constexpr const char* kNamespace = "http://www.loc.gov/standards/alto/ns-v4#";

// One TextStyle per font and size the page's blocks use.
class FontStyles {
public:
    FontStyles(const PageRegions& regions, const PageSpace& space) {
        for (const PageRegion& region : regions.regions) {
            if (!region.text) continue;
            Key key{region.text->fontName.value_or(""), space.FontSize(region.text->fontSize)};
            if (ids_.emplace(key, "font" + std::to_string(ids_.size() + 1)).second) order_.push_back(key);
        }
    }
    const std::string& IdOf(const TextBlockDoc& block, const PageSpace& space) const {
        return ids_.at({block.fontName.value_or(""), space.FontSize(block.fontSize)});
    }
    void Write(XmlWriter& xml) const {
        if (order_.empty()) return;
        xml.Open("Styles");
        for (const Key& key : order_) {
            xml.Open("TextStyle").Attr("ID", ids_.at(key));
            if (!key.first.empty()) xml.Attr("FONTFAMILY", key.first);
            xml.AttrNumber("FONTSIZE", key.second).Close();
        }
        xml.Close();
    }

private:
    using Key = std::pair<std::string, double>;
    std::map<Key, std::string> ids_;
    std::vector<Key> order_;
};

void Position(XmlWriter& xml, const SpaceBox& box) {
    xml.Attr("HPOS", box.left).Attr("VPOS", box.top).Attr("WIDTH", box.Width()).Attr("HEIGHT", box.Height());
}

void WriteTextBlock(XmlWriter& xml, const PageRegion& region, const SpaceBox& box, const std::string& style) {
    xml.Open("TextBlock").Attr("ID", region.id);
    Position(xml, box);
    xml.Attr("STYLEREFS", style);
    int line = 0;
    for (const LineBox& l : LayOutLines(region.text->text.value_or(""), region.text->layout, box)) {
        xml.Open("TextLine").Attr("ID", region.id + "-l" + std::to_string(++line));
        Position(xml, l.box);
        for (size_t w = 0; w < l.words.size(); ++w) {
            if (w > 0) xml.Open("SP").Close();
            xml.Open("String").Attr("CONTENT", l.words[w].text);
            Position(xml, l.words[w].box);
            xml.Close();
        }
        xml.Close();
    }
    xml.Close();
}

}  // namespace

std::string AltoXml(const PageDoc& doc, const std::string& pageImage) {
    PageSpace space = SpaceOf(doc, pageImage);
    PageRegions regions = ListRegions(doc);
    FontStyles styles(regions, space);
    std::string out;
    XmlWriter xml(out);
    xml.Open("alto").Attr("xmlns", kNamespace).Attr("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
    xml.Attr("xsi:schemaLocation", std::string(kNamespace) + " http://www.loc.gov/alto/v4/alto-4-4.xsd");
    xml.Attr("SCHEMAVERSION", "4.4");
    // ALTO knows pixels, not the S2 grid: S2 page units are written as pixels and the
    // processing settings say so.
    xml.Open("Description").Element("MeasurementUnit", "pixel");
    xml.Open("sourceImageInformation").Element("fileName", space.image.empty() ? doc.file : space.image).Close();
    xml.Open("Processing").Attr("ID", "kestrum");
    xml.Element("processingDateTime", XmlNow());
    xml.Element("processingStepSettings", "Page " + doc.file + ". Coordinates: " + space.coordinates +
                                              ". Font sizes: " + space.fontSizes + "." +
                                              ArticleSourceNote(regions));
    xml.Open("processingSoftware").Element("softwareName", "kestrum").Close();
    xml.Close().Close();
    styles.Write(xml);
    xml.Open("Layout").Open("Page").Attr("ID", "page1").Attr("PHYSICAL_IMG_NR", 1);
    xml.Attr("WIDTH", space.width).Attr("HEIGHT", space.height);
    xml.Open("PrintSpace").Attr("HPOS", 0).Attr("VPOS", 0).Attr("WIDTH", space.width).Attr("HEIGHT", space.height);
    for (const PageRegion& region : regions.regions) {
        SpaceBox box = BoxOf(OutlineOf(region, space));
        if (region.text) {
            WriteTextBlock(xml, region, box, styles.IdOf(*region.text, space));
        } else {
            xml.Open("Illustration").Attr("ID", region.id);
            Position(xml, box);
            xml.Close();
        }
    }
    xml.Close().Close().Close().Close();
    return out;
}
