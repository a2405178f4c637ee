#include "Commands.h"
#include "Output.h"

#include "host/BmpFile.h"
#include "host/PageSession.h"

int RunDib(const CommandArgs& args) {
    std::string error;
    auto session = PageSession::Open(args.page, error);
    if (!session) return FileFailure(error);
    HGLOBAL handle = session->PageImage(error);
    if (!handle) return FileFailure(error);
    const auto* dib = static_cast<const unsigned char*>(GlobalLock(handle));
    std::string bmp = BmpFile(dib, GlobalSize(handle));
    GlobalUnlock(handle);
    GlobalFree(handle);
    if (bmp.empty()) return FileFailure("the page image of " + args.page.file + " is not a bitmap");
    if (!WriteOutput(args.positional.front(), bmp, error)) return FileFailure(error);
    return 0;
}
