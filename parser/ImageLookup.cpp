// Picture files named by the page, looked up in the host's folders. A folder written
// with a leading '*' is searched with everything below it, depth first.
#include "parser/ParserFile.h"

#include "parser/FolderListings.h"

#include "platform/Files.h"
#include "platform/Mbcs.h"
#include "platform/Path.h"

#include <set>

namespace kestrum {

namespace {

constexpr const char* kImageExtensions[] = {"JPG", "TIF", "GIF", "BMP", "JPEG", "TIFF", "PNG"};

// Linked folders can lead back into themselves: each directory is entered once.
using Visited = std::set<FileIdentity>;

// Appends the full path of the first entry of `folder` named `name` (blanks around
// either ignored, case ignored) and, with `recursive`, the matches of the subfolders
// listed before it. Returns the number of results afterwards.
size_t FindFiles(const std::string& folder, const std::string& name, bool recursive, std::vector<std::string>& results,
                 Visited& visited, FolderListings& listings) {
    const std::string dir = WithTrailingSeparator(folder);
    const FolderListings::Listing& listing = listings.Of(dir);
    if (listing.identified && !visited.insert(listing.identity).second) return results.size();
    if (!listing.readable) return results.size();
    const std::string wanted = Trim(name);
    for (const DirEntry& entry : listing.entries) {
        if (entry.name == "." || entry.name == ".." || entry.isHidden) continue;
        if (entry.isDirectory && recursive) {
            FindFiles(dir + entry.name, name, recursive, results, visited, listings);
            continue;
        }
        if (MbEqualNoCase(Trim(entry.name), wanted)) {
            results.push_back(dir + entry.name);
            break;
        }
    }
    return results.size();
}

// "*" alone (or "*" and a separator, from a list ending in "*;") would mean the whole file system.
bool IsBareStar(const std::string& folder) { return folder.empty() || (folder.size() == 1 && IsSeparator(folder[0])); }

}  // namespace

bool CParserFile::FindImageFile(const std::string& name, std::string& out) {
    if (name.empty()) return false;
    const bool found = (m_bLastImageFolder && SearchImageFolder(name, m_strLastImageFolder, out)) ||
                       SearchImageFolders(name, out);
    if (!found) return false;
    m_bLastImageFolder = 1;
    m_strLastImageFolder = FolderOf(out);
    return true;
}

bool CParserFile::SearchImageFolders(const std::string& name, std::string& out) {
    for (const std::string& folder : m_arrImageFolders)
        if (SearchImageFolder(name, folder, out)) return true;
    return false;
}

bool CParserFile::SearchImageFolder(const std::string& name, const std::string& folder, std::string& out) {
    const bool recursive = !folder.empty() && folder[0] == '*';
    const std::string start = recursive ? Mid(folder, 1) : folder;
    if (recursive && IsBareStar(start)) return false;
    std::vector<std::string> results;
    Visited visited;
    // Outside a page load every search reads the disk afresh.
    FolderListings once;
    FolderListings& listings = m_pFolderListings ? *m_pFolderListings : once;
    if (FindFiles(start, name, recursive, results, visited, listings) == 0) return false;
    out = results.front();
    return true;
}

BOOL CParserFile::FindImageByExtensions(const std::string& base, std::string& out, BOOL enable) {
    if (!enable) return 0;
    for (const char* ext : kImageExtensions)
        if (FindImageFile(base + "." + ext, out)) return 1;
    return 0;
}

}  // namespace kestrum
