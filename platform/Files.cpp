#include "platform/Files.h"

#include "platform/CodePage.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace kestrum {

namespace {

bool StatOf(std::string_view path, struct stat& st) { return ::stat(ToOsPath(path).c_str(), &st) == 0; }

// Closes the descriptor on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int Get() const { return fd_; }
    // Closes now and reports whether the close succeeded (a write may fail only here).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

}  // namespace

namespace {

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool OsPathExists(const std::string& osPath) {
    struct stat st;
    return ::lstat(osPath.c_str(), &st) == 0;
}

}  // namespace

// Names are UTF-8 on disk, except those copied from Windows as they stood, which are
// in the page's code page. A name that is not UTF-8 is taken into narrow text byte
// for byte (FromOsName); going back, each component that is not plain ASCII is looked
// for in UTF-8 first and then as those bytes, so that both kinds of name reopen.
std::string ToOsPath(std::string_view narrow) {
    if (IsAscii(narrow)) {
        std::string os(narrow);
        for (char& c : os)
            if (c == '\\') c = '/';
        return os;
    }
    const std::u16string wide = NarrowToWide(narrow);
    std::string os;
    size_t start = 0;
    while (start <= wide.size()) {
        size_t end = start;
        while (end < wide.size() && wide[end] != u'\\' && wide[end] != u'/') ++end;
        const std::u16string_view component(wide.data() + start, end - start);
        const std::string utf8 = Utf16ToUtf8(component);
        if (IsAscii(utf8) || OsPathExists(os + utf8)) {
            os += utf8;
        } else {
            const std::string bytes = WideToNarrow(component);
            os += OsPathExists(os + bytes) ? bytes : utf8;
        }
        if (end == wide.size()) break;
        os += '/';
        start = end + 1;
    }
    return os;
}

std::string FromOsName(std::string_view osName) {
    if (!IsUtf8(osName)) return std::string(osName);
    return WideToNarrow(Utf8ToUtf16(osName));
}

bool PathExists(std::string_view path) {
    struct stat st;
    return StatOf(path, st);
}

bool IsDirectory(std::string_view path) {
    struct stat st;
    return StatOf(path, st) && S_ISDIR(st.st_mode);
}

bool RemoveFile(std::string_view path) { return ::unlink(ToOsPath(path).c_str()) == 0; }

bool ListDirectory(std::string_view folder, std::vector<DirEntry>& out) {
    std::string osFolder = ToOsPath(folder);
    DIR* dir = ::opendir(osFolder.c_str());
    if (!dir) return false;
    if (!osFolder.empty() && osFolder.back() != '/') osFolder += '/';
    out.clear();
    while (const dirent* entry = ::readdir(dir)) {
        DirEntry item;
        item.name = FromOsName(entry->d_name);
        item.isHidden = entry->d_name[0] == '.';
        struct stat st;
        item.isDirectory = ::stat((osFolder + entry->d_name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        out.push_back(std::move(item));
    }
    ::closedir(dir);
    return true;
}

bool IdentityOf(std::string_view path, FileIdentity& out) {
    struct stat st;
    if (!StatOf(path, st)) return false;
    out.device = static_cast<uint64_t>(st.st_dev);
    out.inode = static_cast<uint64_t>(st.st_ino);
    return true;
}

std::string TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = tmp && *tmp ? FromOsName(tmp) : std::string("/tmp");
    if (folder.back() != '/') folder += '/';
    return folder;
}

int OpenRegularFile(std::string_view path, size_t& size) {
    // Non-blocking, so that a FIFO without a writer cannot hold the open.
    const int fd = ::open(ToOsPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<size_t>(st.st_size);
    return fd;
}

namespace {

// Reads up to `size` bytes into `out`; returns how many, or -1 on a read error.
ssize_t ReadUpTo(int fd, unsigned char* out, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, out + done, size - done);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

bool FileContents::Open(std::string_view path) {
    Close();
    size_t size = 0;
    Descriptor fd(OpenRegularFile(path, size));
    if (fd.Get() < 0 || size == 0) return false;
    auto data = std::make_unique_for_overwrite<unsigned char[]>(size);
    const ssize_t read = ReadUpTo(fd.Get(), data.get(), size);
    // A file cut short while we read it gives what it still held.
    if (read <= 0) return false;
    data_ = std::move(data);
    size_ = static_cast<size_t>(read);
    return true;
}

void FileContents::Close() {
    data_.reset();
    size_ = 0;
}

bool ReadWholeFile(std::string_view path, std::string& out) {
    size_t size = 0;
    Descriptor fd(OpenRegularFile(path, size));
    if (fd.Get() < 0) return false;
    std::string bytes;
    bytes.reserve(size);
    unsigned char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ReadUpTo(fd.Get(), buffer, sizeof buffer);
        if (n < 0) return false;
        bytes.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(n));
        if (static_cast<size_t>(n) < sizeof buffer) break;
    }
    out = std::move(bytes);
    return true;
}

bool WriteWholeFile(std::string_view path, std::string_view bytes) {
    Descriptor fd(::open(ToOsPath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.Get() < 0) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd.Get(), bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return fd.Close();
}

}  // namespace kestrum
