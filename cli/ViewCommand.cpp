#include "Commands.h"
#include "Output.h"

#include "host/PageSession.h"
#include "host/ViewExport.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

// The page image as the component writes it, through a file of our own that goes again.
std::string PageImageJpeg(PageSession& session, std::string& error) {
    char path[] = "/tmp/kestrum-view-XXXXXX.jpg";
    int fd = mkstemps(path, 4);
    if (fd < 0) return {};
    close(fd);
    std::string jpeg;
    if (session.SavePageImage(path, error)) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        jpeg = bytes.str();
    }
    std::remove(path);
    return jpeg;
}

}  // namespace

int RunView(const CommandArgs& args) {
    std::string error;
    auto session = PageSession::Open(args.page, error);
    if (!session) return FileFailure(error);
    std::string drawError;
    std::string jpeg = PageImageJpeg(*session, drawError);
    // A page the component cannot draw (S2 without preview) is shown on a blank page;
    // a preview the host named but that cannot be read is an error.
    if (jpeg.empty() && !args.page.pageImage.empty()) return FileFailure(drawError);
    if (!WriteOutput(args.positional.front(), PageViewHtml(session->Doc(), args.page.pageImage, jpeg), error))
        return FileFailure(error);
    return 0;
}
