#include "PageExport.h"

#include "host/AltoExport.h"
#include "host/JsonExport.h"
#include "host/PageXmlExport.h"

std::string ExportPage(const PageDoc& doc, const CommandArgs& args) {
    return args.format == "page"   ? PageXml(doc, args.page.pageImage)
           : args.format == "alto" ? AltoXml(doc, args.page.pageImage)
                                   : PageJson(doc);
}

std::string ExportSuffix(const std::string& format) {
    return format == "page" ? ".page.xml" : format == "alto" ? ".alto.xml" : ".json";
}
