// Path splitting for names the page files carry (Windows paths: '\\', a drive
// "X:") as well as Linux paths. Both separators are accepted everywhere; folders
// we build end with '/'.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

struct PathParts {
    std::string drive;  // "X:" or empty
    std::string dir;    // up to and including the last separator
    std::string fname;  // name without extension
    std::string ext;    // from the last '.' of the name part, dot included; empty without a dot
};

PathParts SplitPath(std::string_view path);
inline std::string FolderOf(std::string_view path) { auto p = SplitPath(path); return p.drive + p.dir; }
inline std::string FileNameOf(std::string_view path) { auto p = SplitPath(path); return p.fname + p.ext; }
inline std::string BaseNameOf(std::string_view path) { return SplitPath(path).fname; }
inline std::string ExtensionOf(std::string_view path) { return SplitPath(path).ext; }

bool IsSeparator(char c);
bool EndsWithSeparator(std::string_view path);
// `folder` with a trailing '/' unless it already ends with a separator.
std::string WithTrailingSeparator(std::string_view folder);
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace kestrum
