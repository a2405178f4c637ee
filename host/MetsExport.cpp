#include "AltoExport.h"

#include "Regions.h"
#include "Xml.h"

namespace {

const char* DivType(RegionRole role) {
    switch (role) {
    case RegionRole::kTitle: return "HEADLINE";
    case RegionRole::kPicture: return "ILLUSTRATION";
    case RegionRole::kCaption: return "CAPTION";
    default: return "TEXTBLOCK";
    }
}

void WriteRegionDiv(XmlWriter& xml, const PageRegion& region) {
    xml.Open("div").Attr("ID", "log-" + region.id).Attr("TYPE", DivType(region.role));
    xml.Open("fptr").Open("area").Attr("FILEID", "alto1").Attr("BEGIN", region.id).Attr("BETYPE", "IDREF");
    xml.Close().Close().Close();
}

}  // namespace

std::string MetsXml(const PageDoc& doc, const std::string& altoHref) {
    PageRegions regions = ListRegions(doc);
    std::string out;
    XmlWriter xml(out);
    xml.Open("mets").Attr("xmlns", "http://www.loc.gov/METS/").Attr("xmlns:xlink", "http://www.w3.org/1999/xlink");
    xml.Attr("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
    xml.Attr("xsi:schemaLocation", "http://www.loc.gov/METS/ http://www.loc.gov/standards/mets/mets.xsd");
    xml.Open("metsHdr").Attr("CREATEDATE", XmlNow());
    xml.Open("agent").Attr("ROLE", "CREATOR").Attr("TYPE", "OTHER").Attr("OTHERTYPE", "SOFTWARE").Element("name", "kestrum");
    xml.Close().Close();
    xml.Open("fileSec").Open("fileGrp").Attr("USE", "ALTO");
    xml.Open("file").Attr("ID", "alto1").Attr("MIMETYPE", "text/xml");
    xml.Open("FLocat").Attr("LOCTYPE", "URL").Attr("xlink:href", altoHref).Close();
    xml.Close().Close().Close();
    xml.Open("structMap").Attr("TYPE", "PHYSICAL").Open("div").Attr("ID", "phys1").Attr("TYPE", "PAGE").Attr("ORDER", 1);
    xml.Open("fptr").Attr("FILEID", "alto1").Close();
    xml.Close().Close();
    std::string label = doc.page && doc.page->title ? *doc.page->title : doc.file;
    xml.Open("structMap").Attr("TYPE", "LOGICAL");
    if (regions.numberedArticles) xml.Attr("LABEL", "Articles from the page's article numbers");
    xml.Open("div").Attr("ID", "log-page").Attr("TYPE", "PAGE").Attr("LABEL", label);
    int order = 0;
    for (const RegionGroup& group : regions.groups) {
        if (group.article) {
            xml.Open("div").Attr("ID", "log-" + group.id).Attr("TYPE", "ARTICLE").Attr("ORDER", ++order);
            if (regions.numberedArticles) xml.Attr("LABEL", group.label);
        }
        for (size_t r : group.members) WriteRegionDiv(xml, regions.regions[r]);
        if (group.article) xml.Close();
    }
    xml.Close().Close().Close();
    return out;
}
