#include "platform/Files.h"

#include "platform/CodePage.h"
#include "tests/support/ScopedTmpdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace kestrum {
namespace {

// A fresh folder below the temporary folder, removed with everything in it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = TempFolder() + "kestrum-platform-XXXXXX";
        path_ = ::mkdtemp(pattern.data()) ? pattern + "/" : std::string();
    }
    ~ScratchFolder() {
        if (!path_.empty()) std::filesystem::remove_all(path_);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

TEST(PlatformFiles, OsPathsAreUtf8WithForwardSlashes) {
    // 图片\宋.tif ; the 0x5C trail of 0x815C must survive as part of 乗.
    EXPECT_EQ(ToOsPath("C:\\\xCD\xBC\xC6\xAC\\\xCB\xCE.tif"), "C:/\xE5\x9B\xBE\xE7\x89\x87/\xE5\xAE\x8B.tif");
    EXPECT_EQ(ToOsPath("\x81\x5C.ps"), "\xE4\xB9\x97.ps");
    EXPECT_EQ(FromOsName("\xE5\xAE\x8B.ps"), "\xCB\xCE.ps");
}

// Archives copied from Windows keep their names' GBK bytes on disk: such a name is
// listed as those bytes and opens again, beside names that are UTF-8 on disk.
TEST(PlatformFiles, NamesThatAreNotUtf8ListAndReopen) {
    ScratchFolder dir;
    const std::string gbkOnDisk = dir.Path() + "\xCD\xBC";           // 图 as GBK bytes: no UTF-8
    ASSERT_EQ(::mkdir(gbkOnDisk.c_str(), 0755), 0);
    const std::string raw = gbkOnDisk + "/\xCB\xCE.jpg";             // 宋.jpg, GBK bytes too
    FILE* f = std::fopen(raw.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("jpeg", f);
    std::fclose(f);
    ASSERT_TRUE(WriteWholeFile(gbkOnDisk + "/\xD6\xD0.txt", "utf8"));  // 中.txt, written as UTF-8

    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path() + "\xCD\xBC", entries));
    std::vector<std::string> names;
    for (const DirEntry& e : entries) names.push_back(e.name);
    EXPECT_NE(std::find(names.begin(), names.end(), "\xCB\xCE.jpg"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "\xD6\xD0.txt"), names.end());
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(dir.Path() + "\xCD\xBC\\\xCB\xCE.jpg", bytes));
    EXPECT_EQ(bytes, "jpeg");
    EXPECT_TRUE(PathExists(dir.Path() + "\xCD\xBC/\xD6\xD0.txt"));
    EXPECT_EQ(::access((gbkOnDisk + "/\xE4\xB8\xAD.txt").c_str(), F_OK), 0);  // and it is UTF-8 on disk
}

TEST(PlatformFiles, WriteReadRemove) {
    ScratchFolder dir;
    ASSERT_FALSE(dir.Path().empty());
    const std::string file = dir.Path() + "\xCB\xCE.bin";  // 宋.bin
    const std::string bytes("a\0b\xFF", 4);
    ASSERT_TRUE(WriteWholeFile(file, bytes));
    EXPECT_TRUE(PathExists(file));
    EXPECT_FALSE(IsDirectory(file));
    EXPECT_TRUE(IsDirectory(dir.Path()));
    EXPECT_TRUE(std::filesystem::exists(dir.Path() + "\xE5\xAE\x8B.bin"));  // stored under its UTF-8 name

    std::string read = "stale";
    ASSERT_TRUE(ReadWholeFile(file, read));
    EXPECT_EQ(read, bytes);

    EXPECT_TRUE(RemoveFile(file));
    EXPECT_FALSE(PathExists(file));
    EXPECT_FALSE(RemoveFile(file));
    read = "kept";
    EXPECT_FALSE(ReadWholeFile(file, read));
    EXPECT_EQ(read, "kept");
    EXPECT_FALSE(ReadWholeFile(dir.Path(), read));
    EXPECT_FALSE(ReadWholeFile("/dev/zero", read));  // would never end
    EXPECT_FALSE(WriteWholeFile(dir.Path() + "missing/x", "x"));
}

TEST(PlatformFiles, ListDirectory) {
    ScratchFolder dir;
    ASSERT_FALSE(dir.Path().empty());
    ASSERT_TRUE(WriteWholeFile(dir.Path() + "page.ps", "x"));
    ASSERT_TRUE(WriteWholeFile(dir.Path() + ".hidden", "x"));
    ASSERT_EQ(::mkdir(ToOsPath(dir.Path() + "\xCD\xBC").c_str(), 0755), 0);
    ASSERT_EQ(::symlink(ToOsPath(dir.Path() + "\xCD\xBC").c_str(), (dir.Path() + "link").c_str()), 0);

    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(dir.Path(), entries));
    auto find = [&](const std::string& name) {
        auto it = std::find_if(entries.begin(), entries.end(), [&](const DirEntry& e) { return e.name == name; });
        return it == entries.end() ? nullptr : &*it;
    };
    struct Expect {
        const char* name;
        bool isDirectory;
        bool isHidden;
    };
    const Expect expected[] = {
        {".", true, true}, {"..", true, true}, {"page.ps", false, false},
        {".hidden", false, true}, {"\xCD\xBC", true, false}, {"link", true, false},
    };
    EXPECT_EQ(entries.size(), std::size(expected));
    for (const auto& e : expected) {
        const DirEntry* got = find(e.name);
        ASSERT_NE(got, nullptr) << e.name;
        EXPECT_EQ(got->isDirectory, e.isDirectory) << e.name;
        EXPECT_EQ(got->isHidden, e.isHidden) << e.name;
    }
    EXPECT_FALSE(ListDirectory(dir.Path() + "page.ps", entries));
    EXPECT_FALSE(ListDirectory(dir.Path() + "none", entries));
}

TEST(PlatformFiles, IdentityFollowsLinks) {
    ScratchFolder dir;
    ASSERT_FALSE(dir.Path().empty());
    ASSERT_TRUE(WriteWholeFile(dir.Path() + "a", "x"));
    ASSERT_TRUE(WriteWholeFile(dir.Path() + "b", "x"));
    ASSERT_EQ(::symlink("a", (dir.Path() + "to-a").c_str()), 0);
    FileIdentity a, b, link;
    ASSERT_TRUE(IdentityOf(dir.Path() + "a", a));
    ASSERT_TRUE(IdentityOf(dir.Path() + "b", b));
    ASSERT_TRUE(IdentityOf(dir.Path() + "to-a", link));
    EXPECT_EQ(a, link);
    EXPECT_FALSE(a == b);
    EXPECT_NE(a < b, b < a);
    EXPECT_FALSE(IdentityOf(dir.Path() + "none", a));
}

TEST(PlatformFiles, TempFolderEndsWithSeparator) {
    for (const auto& [tmpdir, folder] : {std::pair{"/var/tmp", "/var/tmp/"}, std::pair{"", "/tmp/"}}) {
        const testing::ScopedTmpdir set(tmpdir);
        EXPECT_EQ(TempFolder(), folder);
    }
}

TEST(PlatformFiles, FileContents) {
    ScratchFolder dir;
    ASSERT_FALSE(dir.Path().empty());
    ASSERT_TRUE(WriteWholeFile(dir.Path() + "one", "%!PS"));
    ASSERT_TRUE(WriteWholeFile(dir.Path() + "two", "S2"));
    ASSERT_TRUE(WriteWholeFile(dir.Path() + "empty", ""));

    FileContents map;
    ASSERT_TRUE(map.Open(dir.Path() + "one"));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(map.Data()), map.Size()), "%!PS");
    // The bytes are our own: a file cut short by someone else changes nothing we hold.
    ASSERT_EQ(::truncate((dir.Path() + "one").c_str(), 0), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(map.Data()), map.Size()), "%!PS");
    ASSERT_TRUE(map.Open(dir.Path() + "two"));  // replaces the first file
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(map.Data()), map.Size()), "S2");

    for (const std::string& bad : {dir.Path() + "empty", dir.Path(), dir.Path() + "none"}) {
        EXPECT_FALSE(map.Open(bad)) << bad;
        EXPECT_FALSE(map.IsOpen());
        EXPECT_EQ(map.Size(), 0u);
    }
    map.Close();
    map.Close();
}

// A FIFO without a writer would hold a blocking open for ever; a directory is no file.
TEST(PlatformFiles, OnlyRegularFilesOpenAndOpeningNeverBlocks) {
    ScratchFolder dir;
    const std::string fifo = dir.Path() + "page.ps";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    FileContents contents;
    std::string bytes;
    size_t size = 0;
    for (const std::string& path : {fifo, dir.Path()}) {
        EXPECT_FALSE(contents.Open(path)) << path;
        EXPECT_FALSE(ReadWholeFile(path, bytes)) << path;
        EXPECT_EQ(OpenRegularFile(path, size), -1) << path;
    }
}

}  // namespace
}  // namespace kestrum
