#include "AltoHref.h"

#include <climits>
#include <cstdlib>

namespace {

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

}  // namespace

std::string AltoHref(const std::string& alto, const std::string& mets) {
    char a[PATH_MAX], m[PATH_MAX];
    if (realpath(FolderOf(alto).c_str(), a) && realpath(FolderOf(mets).c_str(), m)) {
        std::string name = alto.substr(alto.find_last_of('/') + 1);
        return std::string(a) == m ? name : std::string(a) + "/" + name;
    }
    return alto;
}
