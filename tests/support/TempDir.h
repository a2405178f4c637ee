// A fresh folder under the temporary folder for one test, removed with everything in it.
#pragma once

#include <string>
#include <string_view>

namespace kestrum::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // The folder, ending with '/'.
    const std::string& Path() const { return path_; }
    // A path inside the folder.
    std::string File(std::string_view name) const { return path_ + std::string(name); }
    // Writes `bytes` to a file inside the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const;

private:
    std::string path_;
};

}  // namespace kestrum::testing
