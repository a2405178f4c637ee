// The registry of classes on a system without one: a text file, one entry a line,
// in the manner of a .reg export (UTF-8, lines end in LF; CR LF is read too):
//
//   ; a comment (dropped when the file is rewritten)
//   [HKCR\Kestrum.PSDataAdaptor\CurVer]    a key, full path from its root
//   @="Kestrum.PSDataAdaptor.1"            the key's default value
//   "ThreadingModel"="Apartment"           a named value
//
// Inside quotes, \\ stands for a backslash and \" for a quote. Key and value names
// compare without regard to ASCII case. A key exists when it has its own section or
// any key below it does. Lines that are none of these are passed over.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrum {

class CRegistryFile {
public:
    // A missing file is an empty registry; false when the file exists but cannot be read.
    bool Load(const std::string& osPath);
    // Writes a temporary file beside `osPath` and renames it over the old one.
    bool Save(const std::string& osPath) const;

    // Values named "" are default values. Setting one creates its key.
    void CreateKey(std::string_view key);
    void SetValue(std::string_view key, std::string_view name, std::string_view value);
    bool GetValue(std::string_view key, std::string_view name, std::string& out) const;
    void DeleteValue(std::string_view key, std::string_view name);
    bool HasKey(std::string_view key) const;
    // The key with its values and everything below it.
    void DeleteTree(std::string_view key);
    // Deletes the key when it has neither values nor keys below it.
    void DeleteKeyIfEmpty(std::string_view key);

    std::string Text() const;
    void Parse(std::string_view text);

private:
    struct Key {
        std::string path;
        std::vector<std::pair<std::string, std::string>> values;
    };
    Key* Find(std::string_view key);
    const Key* Find(std::string_view key) const;
    bool HasSubkeys(std::string_view key) const;

    std::vector<Key> m_keys;  // in the order they were made
};

}  // namespace kestrum
