#include "platform/Path.h"

#include <gtest/gtest.h>

namespace kestrum {
namespace {

TEST(PlatformPath, SplitPath) {
    struct Case {
        const char* path;
        PathParts parts;
    };
    const Case cases[] = {
        {"C:\\pages\\A01.ps", {"C:", "\\pages\\", "A01", ".ps"}},
        {"/home/news/A01.PS", {"", "/home/news/", "A01", ".PS"}},
        {"d:pic.tif", {"d:", "", "pic", ".tif"}},
        {"C:\\mixed/dirs\\name.tar.gz", {"C:", "\\mixed/dirs\\", "name.tar", ".gz"}},
        {"a.b\\c", {"", "a.b\\", "c", ""}},
        {"folder/", {"", "folder/", "", ""}},
        {"noext", {"", "", "noext", ""}},
        {".hidden", {"", "", "", ".hidden"}},
        {"", {"", "", "", ""}},
        {"1:x", {"", "", "1:x", ""}},  // not a drive letter
        // 0x815C: its trail byte is not a separator.
        {"C:\\\x81\\dir\\\x81\\.eps", {"C:", "\\\x81\\dir\\", "\x81\\", ".eps"}},
        {"\xCD\xBC\x5C.jpg", {"", "\xCD\xBC\x5C", "", ".jpg"}},  // 图, then a real separator
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const PathParts p = SplitPath(c.path);
        EXPECT_EQ(p.drive, c.parts.drive);
        EXPECT_EQ(p.dir, c.parts.dir);
        EXPECT_EQ(p.fname, c.parts.fname);
        EXPECT_EQ(p.ext, c.parts.ext);
    }
    EXPECT_EQ(FolderOf("C:\\a\\b.ps"), "C:\\a\\");
    EXPECT_EQ(FileNameOf("C:\\a\\b.ps"), "b.ps");
}

TEST(PlatformPath, Separators) {
    EXPECT_TRUE(EndsWithSeparator("a\\"));
    EXPECT_TRUE(EndsWithSeparator("a/"));
    EXPECT_FALSE(EndsWithSeparator("a"));
    EXPECT_FALSE(EndsWithSeparator("a\x81\\"));  // trail byte
    EXPECT_FALSE(EndsWithSeparator(""));

    EXPECT_EQ(WithTrailingSeparator("/tmp"), "/tmp/");
    EXPECT_EQ(WithTrailingSeparator("C:\\pics\\"), "C:\\pics\\");
    EXPECT_EQ(WithTrailingSeparator("pics\x81\\"), "pics\x81\\/");
    EXPECT_EQ(WithTrailingSeparator(""), "");  // a relative name must not move to the root
    EXPECT_EQ(JoinPath("/tmp", "a.ps"), "/tmp/a.ps");
    EXPECT_EQ(JoinPath("/tmp/", "a.ps"), "/tmp/a.ps");
    EXPECT_EQ(JoinPath("", "a.ps"), "a.ps");
}

}  // namespace
}  // namespace kestrum
