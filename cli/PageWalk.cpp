#include "PageWalk.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace {

bool NamedLikeAPage(const std::string& name) {
    auto endsWith = [&](const char* suffix) {
        size_t n = std::strlen(suffix);
        return name.size() > n && name.compare(name.size() - n, n, suffix) == 0;
    };
    return endsWith(".ps") || endsWith(".s2");
}

bool IsFolder(const std::string& path, bool followLink) {
    struct stat st;
    return (followLink ? stat(path.c_str(), &st) : lstat(path.c_str(), &st)) == 0 && S_ISDIR(st.st_mode);
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The folder's tree walked with a list of folders still to read rather than by
// recursion, so that a deep tree cannot exhaust the stack.
void AddFolder(const std::string& root, std::vector<PageEntry>& pages) {
    std::vector<std::string> pending = {""};
    while (!pending.empty()) {
        std::string rel = std::move(pending.back());
        pending.pop_back();
        std::string folder = Joined(root, rel);
        DIR* dir = opendir(folder.c_str());
        if (!dir) {
            std::fprintf(stderr, "batch: cannot read the folder %s\n", folder.c_str());
            continue;
        }
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            std::string child = rel.empty() ? name : rel + "/" + name;
            if (IsFolder(Joined(root, child), false))
                pending.push_back(child);
            else if (NamedLikeAPage(name))
                pages.push_back({Joined(root, child), child});
        }
        closedir(dir);
    }
}

}  // namespace

std::vector<PageEntry> FindPages(const std::vector<std::string>& arguments) {
    std::vector<PageEntry> pages;
    for (const std::string& argument : arguments) {
        if (IsFolder(argument, true)) {
            AddFolder(argument, pages);
        } else {
            size_t slash = argument.find_last_of('/');
            pages.push_back({argument, slash == std::string::npos ? argument : argument.substr(slash + 1)});
        }
    }
    std::sort(pages.begin(), pages.end(), [](const PageEntry& a, const PageEntry& b) { return a.file < b.file; });
    pages.erase(std::unique(pages.begin(), pages.end(), [](const PageEntry& a, const PageEntry& b) { return a.file == b.file; }),
                pages.end());
    return pages;
}
