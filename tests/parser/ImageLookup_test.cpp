// Picture files named by a page, found in the host's folders.
#include "parser/ParserFile.h"

#include "parser/FolderListings.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace kestrum {
namespace {

using testing::TempDir;

class Reader : public CParserFile {
public:
    bool Open(const std::string&) override { return false; }
    bool LoadPage() override { return false; }
    bool ClearPage() override { return false; }
    bool RenderPageImage(const std::string&, bool) override { return false; }
};

// A folder tree of empty files under one temporary folder.
class Tree {
public:
    std::string Add(const std::string& relative) {
        const std::string path = dir_.File(relative);
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        dir_.Write(relative, "");
        return path;
    }
    std::string Folder(const std::string& relative) {
        const std::string path = dir_.File(relative);
        std::filesystem::create_directories(path);
        return path;
    }
    const std::string& Root() const { return dir_.Path(); }

private:
    TempDir dir_;
};

TEST(Lookup, FindsInTheListedFoldersAndRemembersTheFolder) {
    Tree tree;
    const std::string a = tree.Folder("a/");
    const std::string inB = tree.Add("b/2011/p1.jpg");
    const std::string inBoth = tree.Add("b/2011/p2.jpg");
    tree.Add("a/p2.jpg");
    Reader r;
    // Empty entries (lone separators) come first and find nothing.
    r.SetImageFolders(";;" + a + ";*" + tree.Root() + "b");
    ASSERT_EQ(r.m_arrImageFolders.size(), 4u);

    std::string out = "unchanged";
    EXPECT_FALSE(r.FindImageFile("none.jpg", out));
    EXPECT_FALSE(r.FindImageFile("", out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_EQ(r.m_bLastImageFolder, 0);

    ASSERT_TRUE(r.FindImageFile("p1.jpg", out));
    EXPECT_EQ(out, inB);
    EXPECT_EQ(r.m_bLastImageFolder, 1);
    EXPECT_EQ(r.m_strLastImageFolder, tree.Root() + "b/2011/");
    // The subfolder found last time is asked before the list.
    ASSERT_TRUE(r.FindImageFile("p2.jpg", out));
    EXPECT_EQ(out, inBoth);
    // A miss there falls back to the list and leaves the remembered folder as it was.
    tree.Add("a/p3.jpg");
    ASSERT_TRUE(r.FindImageFile("p3.jpg", out));
    EXPECT_EQ(out, a + "p3.jpg");
    EXPECT_EQ(r.m_strLastImageFolder, a);
}

TEST(Lookup, NamesMatchWithoutCaseOrSurroundingBlanks) {
    Tree tree;
    const std::string photo = tree.Add("pics/photo.jpg");
    tree.Add("pics/.hidden/secret.jpg");
    tree.Add("pics/deep/er/er/last.tif");
    Reader r;
    r.SetImageFolders("*" + tree.Root() + "pics");
    std::string out;
    for (const char* name : {"Photo.JPG", " photo.jpg ", "PHOTO.jpg"}) {
        SCOPED_TRACE(name);
        out.clear();
        ASSERT_TRUE(r.FindImageFile(name, out));
        EXPECT_EQ(out, photo);
    }
    EXPECT_FALSE(r.FindImageFile("photo.jp", out));
    EXPECT_FALSE(r.FindImageFile("secret.jpg", out));  // hidden folders are not searched
    EXPECT_TRUE(r.FindImageFile("LAST.TIF", out));
    // Without the '*' only the folder itself is looked at.
    Reader flat;
    flat.SetImageFolders(tree.Root() + "pics;");
    EXPECT_TRUE(flat.FindImageFile("photo.jpg", out));
    EXPECT_FALSE(flat.FindImageFile("last.tif", out));
}

TEST(Lookup, ExtensionsAreTriedInTheirOrder) {
    Tree tree;
    tree.Add("p/p1.jpg");
    tree.Add("p/p1.tif");
    tree.Add("p/p2.png");
    tree.Add("p/p2.tiff");
    tree.Add("p/p3.gif");
    tree.Add("p/p4.pic");
    tree.Add("p/p4.eps");
    Reader r;
    r.SetImageFolders(tree.Root() + "p");
    struct Case {
        const char* base;
        BOOL found;
        const char* file;
    };
    for (const Case& c : {Case{"p1", 1, "p1.jpg"}, Case{"p2", 1, "p2.tiff"}, Case{"p3", 1, "p3.gif"},
                          Case{"p4", 0, ""}, Case{"p5", 0, ""}}) {
        SCOPED_TRACE(c.base);
        std::string out;
        EXPECT_EQ(r.FindImageByExtensions(c.base, out, 1), c.found);
        if (c.found) {
            EXPECT_EQ(out, tree.Root() + "p/" + c.file);
        }
    }
    std::string out;
    EXPECT_EQ(r.FindImageByExtensions("p1", out, 0), 0);
    EXPECT_TRUE(out.empty());
}

TEST(Lookup, LinkCyclesAndALoneStarEnd) {
    Tree tree;
    const std::string inside = tree.Add("root/sub/pic.jpg");
    std::filesystem::create_directory_symlink(tree.Root() + "root", tree.Root() + "root/sub/loop");
    std::filesystem::create_directory_symlink(tree.Root() + "root/sub", tree.Root() + "root/back");
    Reader r;
    std::string out;
    EXPECT_FALSE(r.SearchImageFolder("none.jpg", "*" + tree.Root() + "root/", out));
    // Through "sub" or through the link "back" to it, whichever the folder lists first.
    ASSERT_TRUE(r.SearchImageFolder("pic.jpg", "*" + tree.Root() + "root/", out));
    EXPECT_TRUE(out == inside || out == tree.Root() + "root/back/pic.jpg") << out;

    // "*;" leaves "*" and a separator: that would be the whole file system.
    for (const char* folder : {"*", "*/", "*\\"}) EXPECT_FALSE(r.SearchImageFolder("pic.jpg", folder, out)) << folder;
    r.SetImageFolders("*;");
    EXPECT_FALSE(r.FindImageFile("pic.jpg", out));
}

// While a page loads, the folders are read once: the lookups see the folders as they
// were at their first listing, and find the same files as a lookup of its own would.
TEST(Lookup, OnePageLoadListsEachFolderOnce) {
    Tree tree;
    const std::string first = tree.Add("pics/2011/a.jpg");
    const std::string unreadable = tree.Root() + "gone/";
    Reader r;
    r.SetImageFolders(unreadable + ";*" + tree.Root() + "pics");
    std::string out;
    {
        const FolderListingScope listings(r);
        ASSERT_EQ(r.FindImageByExtensions("a", out, 1), 1);
        EXPECT_EQ(out, first);
        tree.Add("pics/b.png");
        EXPECT_EQ(r.FindImageByExtensions("b", out, 1), 0);  // not in the listing taken
    }
    EXPECT_EQ(r.m_pFolderListings, nullptr);
    EXPECT_EQ(r.FindImageByExtensions("b", out, 1), 1);  // a later lookup reads the disk again
    EXPECT_EQ(out, tree.Root() + "pics/b.png");
}

}  // namespace
}  // namespace kestrum
