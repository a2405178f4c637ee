#include "Commands.h"

#include "host/PageSession.h"

int RunRender(const CommandArgs& args) {
    std::string error;
    auto session = PageSession::Open(args.page, error);
    if (!session) return FileFailure(error);
    if (!session->SavePageImage(args.positional.front(), error)) return FileFailure(error);
    return 0;
}
