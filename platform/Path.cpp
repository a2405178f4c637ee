#include "platform/Path.h"

#include "platform/Mbcs.h"

namespace kestrum {

namespace {

constexpr size_t npos = std::string_view::npos;

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Offset just past the last separator (0 when there is none). A trail byte of 0x5C
// is half of a character, not a separator, so the walk goes by characters.
size_t NameStart(std::string_view path) {
    size_t nameStart = 0;
    for (size_t i = 0; i < path.size();) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            i += 2;
            continue;
        }
        if (IsSeparator(path[i])) nameStart = i + 1;
        ++i;
    }
    return nameStart;
}

}  // namespace

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

PathParts SplitPath(std::string_view path) {
    PathParts parts;
    if (path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0])) {
        parts.drive = std::string(path.substr(0, 2));
        path.remove_prefix(2);
    }
    const size_t nameStart = NameStart(path);
    parts.dir = std::string(path.substr(0, nameStart));
    const std::string_view name = path.substr(nameStart);
    const size_t dot = MbFindLast(name, ".");
    parts.fname = std::string(name.substr(0, dot));
    if (dot != npos) parts.ext = std::string(name.substr(dot));
    return parts;
}

bool EndsWithSeparator(std::string_view path) {
    return !path.empty() && NameStart(path) == path.size();
}

// An empty folder stays empty: turning it into "/" would move a relative name to the root.
std::string WithTrailingSeparator(std::string_view folder) {
    std::string out(folder);
    if (!folder.empty() && !EndsWithSeparator(folder)) out += '/';
    return out;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    return WithTrailingSeparator(folder).append(name);
}

}  // namespace kestrum
