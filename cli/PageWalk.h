// The page files of a batch: what its FILE and FOLDER arguments hold.
#pragma once

#include <string>
#include <vector>

struct PageEntry {
    std::string file;  // the path as the run found it: the FOLDER argument joined with `rel`, or the FILE argument
    std::string rel;   // the path under DIR its output mirrors: below the FOLDER, or the FILE's base name
};

// Every entry named "*.ps" or "*.s2" under each folder argument, recursively, without
// following symbolic links to folders, plus each other argument as it is; sorted by
// `file` in byte order, each path once. An entry that is not a regular file stays a
// page, for the component to refuse.
std::vector<PageEntry> FindPages(const std::vector<std::string>& arguments);
