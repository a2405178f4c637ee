// Recognition of the dialect by its creator comment, and the trailer's resource list.
#include "model/PageInfo.h"
#include "psreader/PSParser.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

using testing::TempDir;

const std::string kCreator =
    "%%Creator:(\xBB\xAA\xB9\xE2\xD2\xD7\xBD\xDD\xD4\xD3\xD6\xBE\xC5\xC5\xB0\xE6\xCF\xB5\xCD\xB3)";

// A page of `size` bytes at least: head, filler lines, then the trailer.
std::string Page(const std::string& head, const std::string& trailer, size_t size = 4000) {
    std::string page = head;
    while (page.size() + trailer.size() < size) page += "% filler line of the page body\n";
    return page + trailer;
}

std::string Trailer(const std::vector<std::string>& items, const char* eol = "\n") {
    std::string t = std::string("%%DocResourceStart:") + eol;
    for (const auto& item : items) t += "%%" + item + eol;
    return t + "%%DocResourceEnd:" + eol;
}

struct RecognitionCase {
    const char* name;
    std::string head;
    bool accepted;
};

TEST(PsOpen, RecognisesTheCreatorCommentInTheFirst200Bytes) {
    const std::vector<RecognitionCase> cases = {
        {"at the start", "%!PS-Adobe-3.0\n" + kCreator + "\n", true},
        {"ending exactly at byte 200", std::string(200 - kCreator.size(), ' ') + kCreator, true},
        {"starting at byte 170", std::string(170, ' ') + kCreator + "\n", false},
        {"after a zero byte", std::string("%!PS\0", 5) + kCreator + "\n", false},
        {"another creator", "%!PS-Adobe-3.0\n%%Creator:(QuarkXPress)\n", false},
    };
    TempDir dir;
    for (const auto& c : cases) {
        CPSParser reader;
        std::string path = dir.Write("page.ps", Page(c.head, Trailer({})));
        EXPECT_EQ(reader.Open(path), c.accepted) << c.name;
        EXPECT_EQ(reader.m_pPageInfo->m_nPageNo, 1) << c.name;
        EXPECT_EQ(reader.m_pPageInfo->m_strTitle, "page") << c.name;
    }
}

TEST(PsOpen, MissingFileIsRefused) {
    CPSParser reader;
    EXPECT_FALSE(reader.Open("/nonexistent/folder/A01.ps"));
    EXPECT_EQ(reader.m_pPageInfo->m_strTitle, "A01");
    EXPECT_TRUE(reader.m_strFilePath.empty());
}

TEST(PsOpen, TitleIsTheBaseNameOfAWindowsPath) {
    CPSParser reader;
    reader.Open("C:\\pages\\A01.ps");
    EXPECT_EQ(reader.m_pPageInfo->m_strTitle, "A01");
}

struct TrailerCase {
    const char* name;
    std::string trailer;
    std::vector<std::string> resources;
};

TEST(PsOpen, ReadsTheTrailerResourceList) {
    const std::vector<TrailerCase> cases = {
        {"LF lines", Trailer({"/pics/a.tif", "/pics/b.jpg"}), {"/pics/a.tif", "/pics/b.jpg"}},
        {"CR LF lines", Trailer({"/pics/a.tif", "/pics/b.jpg"}, "\r\n"), {"/pics/a.tif", "/pics/b.jpg"}},
        {"a repeated path", Trailer({"/p/a.tif", "/p/a.tif", "/p/A.tif"}), {"/p/a.tif", "/p/A.tif"}},
        {"two start markers", Trailer({"/old/x.tif"}) + Trailer({"/new/y.tif"}), {"/new/y.tif"}},
        {"trailing blanks", Trailer({"/p/a.tif   \t"}), {"/p/a.tif"}},
        {"no end marker", "%%DocResourceStart:\n%%/p/a.tif\n", {}},
        {"no list at all", "%%EOF\n", {}},
    };
    TempDir dir;
    for (const auto& c : cases) {
        CPSParser reader;
        ASSERT_TRUE(reader.Open(dir.Write("p.ps", Page(kCreator + "\n", c.trailer)))) << c.name;
        EXPECT_EQ(reader.m_arrResources, c.resources) << c.name;
    }
}

TEST(PsOpen, ResourceListFarFromTheEndIsNotRead) {
    TempDir dir;
    std::string page = kCreator + "\n" + Trailer({"/p/a.tif"}) + std::string(2000, '\n');
    CPSParser reader;
    ASSERT_TRUE(reader.Open(dir.Write("p.ps", page)));
    EXPECT_TRUE(reader.m_arrResources.empty());
}

TEST(PsOpen, ShortPageIsReadFromItsStart) {
    TempDir dir;
    std::string page = kCreator + "\n" + Trailer({"/p/a.tif"});
    ASSERT_LT(page.size(), 1000u);
    CPSParser reader;
    ASSERT_TRUE(reader.Open(dir.Write("short.ps", page)));
    EXPECT_EQ(reader.m_arrResources, std::vector<std::string>{"/p/a.tif"});
}

TEST(PsOpen, SecondOpenDropsTheEarlierFilesResources) {
    TempDir dir;
    CPSParser reader;
    ASSERT_TRUE(reader.Open(dir.Write("a.ps", Page(kCreator + "\n", Trailer({"/p/a.tif"})))));
    ASSERT_TRUE(reader.Open(dir.Write("b.ps", Page(kCreator + "\n", "%%EOF\n"))));
    EXPECT_TRUE(reader.m_arrResources.empty());
}

TEST(PsOpen, FindResourcePathMatchesExistingListedFilesWithoutCase) {
    TempDir dir;
    std::string existing = dir.Write("photo1.tif", "x");
    std::string missing = dir.File("gone.tif");
    CPSParser reader;
    ASSERT_TRUE(reader.Open(dir.Write("p.ps", Page(kCreator + "\n", Trailer({missing, existing})))));

    std::string found;
    EXPECT_FALSE(reader.FindResourcePath("PHOTO1.TIF", found)) << "resource lookup is off";
    reader.m_bResourceLookup = 1;
    EXPECT_TRUE(reader.FindResourcePath("PHOTO1.TIF", found));
    EXPECT_EQ(found, existing);
    found = "unchanged";
    EXPECT_FALSE(reader.FindResourcePath("gone.tif", found));
    EXPECT_FALSE(reader.FindResourcePath("other.tif", found));
    EXPECT_EQ(found, "unchanged");
}

TEST(PsOpen, ClearPageKeepsPageInformationAndPath) {
    TempDir dir;
    CPSParser reader;
    std::string path = dir.Write("A02.ps", Page(kCreator + "\n", Trailer({"/p/a.tif"})));
    ASSERT_TRUE(reader.Open(path));
    reader.m_arrImageFolders = {"/pics/"};
    reader.m_strPrevLine = "last line\n";
    reader.m_curBlock.m_arrPoints.push_back(MakePoint(1, 2));
    EXPECT_TRUE(reader.ClearPage());
    EXPECT_TRUE(reader.m_arrResources.empty());
    EXPECT_TRUE(reader.m_arrImageFolders.empty());
    EXPECT_TRUE(reader.m_strPrevLine.empty());
    EXPECT_TRUE(reader.m_curBlock.m_arrPoints.empty());
    EXPECT_EQ(reader.m_pPageInfo->m_strTitle, "A02");
    EXPECT_EQ(reader.m_strFilePath, path);
}

TEST(PsOpen, ConstructionHoldsTheDigitReplacements) {
    CPSParser reader;
    ASSERT_EQ(reader.m_arrReplaceCodes.size(), 10u);
    EXPECT_EQ(reader.m_arrReplaceCodes[0].from, 0xA3B0);
    EXPECT_EQ(reader.m_arrReplaceCodes[0].to, '0');
    EXPECT_EQ(reader.m_arrReplaceCodes[9].from, 0xA3B9);
    EXPECT_EQ(reader.m_arrReplaceCodes[9].to, '9');
    EXPECT_TRUE(reader.m_arrSymbolCodes.empty());
    EXPECT_EQ(reader.m_pPageInfo->m_nPageNo, 0);
    EXPECT_EQ(reader.m_dPageWidth, 0.0);
}

}  // namespace
}  // namespace kestrum
