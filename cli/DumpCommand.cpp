#include "Commands.h"
#include "Output.h"

#include "host/JsonExport.h"
#include "host/PageSession.h"

int RunDump(const CommandArgs& args) {
    std::string error;
    auto session = PageSession::Open(args.page, error);
    if (!session) return FileFailure(error);
    const PageDoc& doc = session->Doc();
    if (!WriteOutput(args.out, PageJson(doc), error)) return FileFailure(error);
    return 0;
}
