#include "platform/TempFile.h"

#include "platform/Files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace kestrum {

namespace {

// Writes all of `bytes` and closes; on failure the file is removed.
bool FillAndClose(int fd, const std::string& path, std::string_view bytes) {
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(path.c_str());
    return ok;
}

}  // namespace

std::string CreateUniqueFile(std::string_view folder, std::string_view stem, std::string_view extension,
                             std::string_view bytes, std::string_view preferredTag) {
    const std::string suffix = ToOsPath(extension);
    const std::string base = ToOsPath(std::string(folder) + std::string(stem)) + "-";
    // O_EXCL (also inside mkstemps): an existing name is never taken over.
    if (!preferredTag.empty()) {
        const std::string path = base + std::string(preferredTag) + suffix;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd >= 0) return FillAndClose(fd, path, bytes) ? FromOsName(path) : std::string();
    }
    std::string path = base + "XXXXXX" + suffix;
    const int fd = ::mkstemps(path.data(), static_cast<int>(suffix.size()));
    if (fd < 0) return {};
    return FillAndClose(fd, path, bytes) ? FromOsName(path) : std::string();
}

}  // namespace kestrum
