#include "platform/TempFile.h"

#include "platform/Files.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>

namespace kestrum {

std::string CreateUniqueFile(std::string_view folder, std::string_view stem, std::string_view extension,
                             std::string_view bytes) {
    const std::string suffix = ToOsPath(extension);
    std::string path = ToOsPath(std::string(folder) + std::string(stem)) + "-XXXXXX" + suffix;
    // mkstemps opens with O_CREAT | O_EXCL: an existing name is never taken over.
    const int fd = ::mkstemps(path.data(), static_cast<int>(suffix.size()));
    if (fd < 0) return {};
    bool ok = true;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<size_t>(n);
    }
    ok = ::close(fd) == 0 && ok;
    if (!ok) {
        ::unlink(path.c_str());
        return {};
    }
    return FromOsName(path);
}

}  // namespace kestrum
