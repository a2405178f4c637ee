#include "Commands.h"
#include "Output.h"
#include "PageExport.h"

#include "host/AltoExport.h"
#include "host/PageSession.h"

#include <climits>
#include <cstdlib>

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Where the METS file finds the ALTO file: by name beside it, else by full path.
std::string AltoHref(const std::string& alto, const std::string& mets) {
    char a[PATH_MAX], m[PATH_MAX];
    if (realpath(FolderOf(alto).c_str(), a) && realpath(FolderOf(mets).c_str(), m)) {
        std::string name = alto.substr(alto.find_last_of('/') + 1);
        return std::string(a) == m ? name : std::string(a) + "/" + name;
    }
    return alto;
}

}  // namespace

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
