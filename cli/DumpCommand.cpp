#include "Commands.h"
#include "Output.h"

#include "host/AltoExport.h"
#include "host/AltoHref.h"
#include "host/JsonExport.h"
#include "host/PageSession.h"
#include "host/PageXmlExport.h"

int RunDump(const CommandArgs& args) {
    std::string error;
    auto session = PageSession::Open(args.page, error);
    if (!session) return FileFailure(error);
    const PageDoc& doc = session->Doc();
    std::string written = args.format == "page"   ? PageXml(doc, args.page.pageImage)
                          : args.format == "alto" ? AltoXml(doc, args.page.pageImage)
                                                  : PageJson(doc);
    if (!WriteOutput(args.out, written, error)) return FileFailure(error);
    if (!args.mets.empty() && !WriteOutput(args.mets, MetsXml(doc, AltoHref(args.out, args.mets)), error))
        return FileFailure(error);
    return 0;
}
