#include "Commands.h"
#include "Output.h"
#include "PageExport.h"

#include "host/AltoExport.h"
#include "host/AltoHref.h"
#include "host/PageSession.h"

int RunDump(const CommandArgs& args) {
    std::string error;
    auto session = PageSession::Open(args.page, error);
    if (!session) return FileFailure(error);
    const PageDoc& doc = session->Doc();
    if (!WriteOutput(args.out, ExportPage(doc, args), error)) return FileFailure(error);
    if (!args.mets.empty() && !WriteOutput(args.mets, MetsXml(doc, AltoHref(args.out, args.mets)), error))
        return FileFailure(error);
    return 0;
}
