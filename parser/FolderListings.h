// What each picture folder holds, listed once while a page loads: every picture of
// the page may try seven names in every folder, and all of them are answered from
// one walk of the disk.
#pragma once

#include "platform/Files.h"

#include <map>
#include <string>
#include <vector>

namespace kestrum {

class CParserFile;

class FolderListings {
public:
    struct Listing {
        bool readable = false;      // the folder could be listed
        bool identified = false;    // `identity` holds the folder's device and inode
        FileIdentity identity;
        std::vector<DirEntry> entries;
    };

    // The folder's listing, read from the disk the first time it is asked for.
    const Listing& Of(const std::string& folder);

private:
    std::map<std::string, Listing> listings_;
};

// Keeps the reader's picture lookups on one set of listings for as long as it lives.
class FolderListingScope {
public:
    explicit FolderListingScope(CParserFile& reader);
    ~FolderListingScope();
    FolderListingScope(const FolderListingScope&) = delete;
    FolderListingScope& operator=(const FolderListingScope&) = delete;

private:
    CParserFile& reader_;
};

}  // namespace kestrum
