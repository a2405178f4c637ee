// File system access for narrow paths in the thread's code page. Paths are turned
// into the file system's own form (UTF-8, '\\' read as '/') here and nowhere else.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// The narrow path as the operating system wants it.
std::string ToOsPath(std::string_view narrow);
// A file system name converted back to narrow text.
std::string FromOsName(std::string_view osName);

// True when something (file or directory) exists at the path.
bool PathExists(std::string_view path);
bool IsDirectory(std::string_view path);
bool RemoveFile(std::string_view path);

struct DirEntry {
    std::string name;  // narrow
    bool isDirectory = false;
    bool isHidden = false;  // a name starting with '.'
};
// Entries of a folder in the order the file system lists them, "." and ".." included.
// False when the folder cannot be read. Directories are followed through links.
bool ListDirectory(std::string_view folder, std::vector<DirEntry>& out);

struct FileIdentity {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool operator<(const FileIdentity& o) const { return device != o.device ? device < o.device : inode < o.inode; }
    bool operator==(const FileIdentity& o) const { return device == o.device && inode == o.inode; }
};
// Identity of the file or directory at the path (links followed).
bool IdentityOf(std::string_view path, FileIdentity& out);

// The temporary folder ($TMPDIR, else /tmp), ending with '/'.
std::string TempFolder();

// Opens a regular file for reading without blocking (a FIFO, device or socket is
// refused) and gives its size; the descriptor, or -1.
int OpenRegularFile(std::string_view path, size_t& size);

// A whole regular file read into memory of its own. A copy rather than a mapping: a
// file cut short or rewritten by someone else while a page is read could otherwise
// raise a signal in the host's process. An empty file gives nothing.
class FileContents {
public:
    FileContents() = default;
    FileContents(const FileContents&) = delete;
    FileContents& operator=(const FileContents&) = delete;

    bool Open(std::string_view path);
    void Close();
    bool IsOpen() const { return data_ != nullptr; }
    const unsigned char* Data() const { return data_.get(); }
    size_t Size() const { return size_; }

private:
    std::unique_ptr<unsigned char[]> data_;
    size_t size_ = 0;
};

// Reads a whole regular file; false when it cannot be read.
bool ReadWholeFile(std::string_view path, std::string& out);
bool WriteWholeFile(std::string_view path, std::string_view bytes);

}  // namespace kestrum
