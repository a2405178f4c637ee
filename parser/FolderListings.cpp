#include "parser/FolderListings.h"

#include "parser/ParserFile.h"

namespace kestrum {

const FolderListings::Listing& FolderListings::Of(const std::string& folder) {
    auto [it, added] = listings_.try_emplace(folder);
    Listing& listing = it->second;
    if (added) {
        listing.identified = IdentityOf(folder, listing.identity);
        listing.readable = ListDirectory(folder, listing.entries);
    }
    return listing;
}

FolderListingScope::FolderListingScope(CParserFile& reader) : reader_(reader) {
    reader_.m_pFolderListings = std::make_unique<FolderListings>();
}

FolderListingScope::~FolderListingScope() { reader_.m_pFolderListings.reset(); }

}  // namespace kestrum
