#include "platform/Files.h"

#include "platform/CodePage.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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

std::string ToOsPath(std::string_view narrow) {
    std::string os = Utf16ToUtf8(NarrowToWide(narrow));
    for (char& c : os)
        if (c == '\\') c = '/';
    return os;
}

std::string FromOsName(std::string_view osName) { return WideToNarrow(Utf8ToUtf16(osName)); }

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

MappedFile::~MappedFile() { Close(); }

bool MappedFile::Open(std::string_view path) {
    Close();
    Descriptor fd(::open(ToOsPath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) return false;
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) return false;
    void* map = ::mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd.Get(), 0);
    if (map == MAP_FAILED) return false;
    data_ = static_cast<const unsigned char*>(map);
    size_ = static_cast<size_t>(st.st_size);
    return true;
}

void MappedFile::Close() {
    if (data_) ::munmap(const_cast<unsigned char*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
}

// Only regular files: a device or a pipe could feed us without end.
bool ReadWholeFile(std::string_view path, std::string& out) {
    Descriptor fd(::open(ToOsPath(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) return false;
    struct stat st;
    if (::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.append(buffer, static_cast<size_t>(n));
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
