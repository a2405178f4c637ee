// The archive exports of both readers, validated against the official schemas and
// read back with an XML tool that knows nothing of kestrum.
#include "tests/cli/CliRun.h"
#include "tests/cli/ExportPages.h"
#include "tests/support/InterleavedArticles.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace kestrum {
namespace {

using testing::RunCli;
using testing::RunResult;
using testing::RunShell;
using testing::TempDir;

const std::string kSchemas = std::string(KESTRUM_SOURCE_DIR) + "/../shared/schemas/";

bool HaveSchemas() {
    struct stat st;
    return stat(kSchemas.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// xmllint's verdict on one file against one schema: empty when it validates.
std::string SchemaErrors(const std::string& file, const std::string& schema) {
    RunResult r = RunShell("xmllint --noout --nonet --schema " + kSchemas + schema + " '" + file + "'");
    return r.exitCode == 0 ? std::string() : r.err;
}

std::string XPath(const std::string& file, const std::string& expression) {
    std::string value = RunShell("xmllint --xpath \"" + expression + "\" '" + file + "'").out;
    if (!value.empty() && value.back() == '\n') value.pop_back();
    return value;
}

struct ExportCase {
    const char* name;
    std::string page;
    std::string options;
};

TEST(CliExport, EveryFileValidatesAgainstItsSchema) {
    if (!HaveSchemas()) GTEST_SKIP() << "no schemas at " << kSchemas << " (a copy of shared/ beside the repository)";
    TempDir dir;
    std::string ps = testing::WritePsExportPage(dir);
    ASSERT_EQ(RunCli("render " + ps + " " + dir.File("preview.jpg")).exitCode, 0);
    const ExportCase cases[] = {
        {"PostScript page", ps, ""},
        {"PostScript page with a preview image", ps, "--page-image " + dir.File("preview.jpg")},
        {"S2 page, grouped", testing::WriteS2ExportPage(dir), "--group"},
        {"S2 page, one article per block", testing::WriteS2ExportPage(dir), ""},
        {"PostScript page of interleaved stories", dir.Write("stories.ps", testing::InterleavedArticlesPage()), ""},
    };
    for (const auto& c : cases) {
        std::string base = dir.File(c.name);
        for (char& ch : base) ch = ch == ' ' || ch == ',' ? '-' : ch;
        std::string q = " '" + base;
        ASSERT_EQ(RunCli("dump " + c.page + " " + c.options + " --format page -o" + q + ".page.xml'").exitCode, 0) << c.name;
        ASSERT_EQ(RunCli("dump " + c.page + " " + c.options + " --format alto -o" + q + ".alto.xml' --mets" + q +
                         ".mets.xml'").exitCode, 0) << c.name;
        EXPECT_EQ(SchemaErrors(base + ".page.xml", "pagecontent-2019-07-15.xsd"), "") << c.name;
        EXPECT_EQ(SchemaErrors(base + ".alto.xml", "alto-4-4.xsd"), "") << c.name;
        EXPECT_EQ(SchemaErrors(base + ".mets.xml", "mets-1.12.1.xsd"), "") << c.name;
    }
}

// What a reader of the files relies on: regions typed by kind, the picture, the
// text as the page has it, the articles pointing at ALTO IDs.
TEST(CliExport, FilesHoldThePageContent) {
    TempDir dir;
    std::string ps = testing::WritePsExportPage(dir);
    std::string s2 = testing::WriteS2ExportPage(dir);
    ASSERT_EQ(RunCli("dump " + ps + " --format page -o " + dir.File("ps.page.xml")).exitCode, 0);
    ASSERT_EQ(RunCli("dump " + ps + " --format alto -o " + dir.File("ps.alto.xml")).exitCode, 0);
    ASSERT_EQ(RunCli("dump " + s2 + " --format alto -o " + dir.File("s2.alto.xml") + " --mets " + dir.File("s2.mets.xml")).exitCode, 0);
    const std::string page = dir.File("ps.page.xml");
    const std::string heading = "//*[local-name()='TextRegion'][@type='heading']";
    const std::string paragraph = "//*[local-name()='TextRegion'][@type='paragraph']";
    EXPECT_EQ(XPath(page, "count(" + heading + ")"), "1");
    EXPECT_EQ(XPath(page, "count(" + paragraph + ")"), "1");
    EXPECT_EQ(XPath(page, "string(" + paragraph + "/@readingDirection)"), "left-to-right");
    EXPECT_EQ(XPath(page, "count(//*[local-name()='ImageRegion'])"), "1");
    EXPECT_NE(XPath(page, "string(" + paragraph + "//*[local-name()='Unicode'])").find("a&b <c> ]]>"),
              std::string::npos);
    // 2800 page units are 27.17 points.
    EXPECT_EQ(XPath(page, "string(" + heading + "/*[local-name()='TextStyle']/@fontSize)"), "27.17");
    EXPECT_EQ(XPath(dir.File("ps.alto.xml"), "string(//*[local-name()='String'][@CONTENT='a&b'][1]/@CONTENT)"), "a&b");
    EXPECT_EQ(XPath(dir.File("ps.alto.xml"), "count(//*[local-name()='Illustration'])"), "1");

    const std::string mets = dir.File("s2.mets.xml");
    std::string articles = XPath(mets, "count(//*[local-name()='div'][@TYPE='ARTICLE'])");
    EXPECT_NE(articles, "0");
    std::string first = XPath(mets, "string((//*[local-name()='area'])[1]/@BEGIN)");
    EXPECT_EQ(XPath(dir.File("s2.alto.xml"), "count(//*[@ID='" + first + "'])"), "1") << first;
    EXPECT_EQ(XPath(mets, "count(//*[local-name()='div'][@TYPE='ILLUSTRATION'])"), "1");
}

struct SpaceCase {
    const char* name;
    std::string arguments;
    std::string width;
    std::string unit;  // a word of the stated coordinate space
};

// Coordinates are in the page image's pixels where there is one: the preview, else
// the proof of a PostScript page; an S2 page without preview keeps its units.
TEST(CliExport, CoordinatesSayTheirSpace) {
    TempDir dir;
    std::string ps = testing::WritePsExportPage(dir);
    std::string s2 = testing::WriteS2ExportPage(dir);
    ASSERT_EQ(RunCli("render " + ps + " " + dir.File("preview.jpg")).exitCode, 0);
    RunShell("convert " + dir.File("preview.jpg") + " -resize 50% " + dir.File("half.jpg"));
    const SpaceCase cases[] = {
        {"proof of an A4 page at 144 ppi", ps, "1190", "proof"},
        {"preview at half the proof", ps + " --page-image " + dir.File("half.jpg"), "595", "preview"},
        {"S2 page units", s2, "10000", "S2 page units"},
    };
    for (const auto& c : cases) {
        RunResult r = RunCli("dump " + c.arguments + " --format page");
        ASSERT_EQ(r.exitCode, 0) << c.name;
        std::string file = dir.Write("out.xml", r.out);
        EXPECT_EQ(XPath(file, "string(//*[local-name()='Page']/@imageWidth)"), c.width) << c.name;
        EXPECT_NE(XPath(file, "string(//*[local-name()='Comments'])").find(c.unit), std::string::npos) << c.name;
    }
}

// A file name with XML's special characters ends up in the metadata; the file must
// stay well-formed.
TEST(CliExport, SpecialCharactersInNamesStayWellFormed) {
    TempDir dir;
    std::string page = testing::WritePsExportPage(dir, "a&b<c]]>.ps");
    for (const char* format : {"page", "alto"}) {
        RunResult r = RunCli("dump '" + page + "' --format " + format);
        ASSERT_EQ(r.exitCode, 0) << format;
        std::string file = dir.Write("out.xml", r.out);
        EXPECT_EQ(RunShell("xmllint --noout '" + file + "'").exitCode, 0) << format;
        EXPECT_NE(r.out.find("a&amp;b&lt;c]]&gt;"), std::string::npos) << format;
    }
}

// A PostScript page lists no articles; its blocks' article numbers make them. The
// stories are set in turns in the file and come out whole, headline first; the folio
// and the photo, which belong to no story, stay outside.
TEST(CliExport, PostScriptStoriesFollowTheirArticleNumbers) {
    TempDir dir;
    std::string page = dir.Write("stories.ps", testing::InterleavedArticlesPage());
    const std::string alto = dir.File("a.alto.xml"), mets = dir.File("a.mets.xml"), pageXml = dir.File("a.page.xml");
    ASSERT_EQ(RunCli("dump " + page + " --format alto -o " + alto + " --mets " + mets).exitCode, 0);
    ASSERT_EQ(RunCli("dump " + page + " --format page -o " + pageXml).exitCode, 0);

    const std::string article = "//*[local-name()='div'][@TYPE='ARTICLE']";
    ASSERT_EQ(XPath(mets, "count(" + article + ")"), "3");
    for (const auto& story : testing::kInterleavedStories) {
        const std::string divs = article + "[@LABEL='Article " + std::to_string(story.number) + "']/*[local-name()='div']";
        EXPECT_EQ(XPath(mets, "count(" + divs + ")"), "2") << story.number;
        EXPECT_EQ(XPath(mets, "string(" + divs + "[1]/@TYPE)"), "HEADLINE") << story.number;
        // The body's ALTO block starts with the story's first word.
        const std::string body = XPath(mets, "string(" + divs + "[2]//*[local-name()='area']/@BEGIN)");
        const std::string firstWord = std::string(story.body).substr(0, std::string(story.body).find(' '));
        EXPECT_EQ(XPath(alto, "string(//*[local-name()='TextBlock'][@ID='" + body + "']//*[local-name()='String'][1]/@CONTENT)"),
                  firstWord) << story.number;
    }
    const std::string loose = "//*[@ID='log-page']/*[local-name()='div'][@TYPE!='ARTICLE']";
    EXPECT_EQ(XPath(mets, "count(" + loose + ")"), "2");  // the folio and the photo
    EXPECT_EQ(XPath(mets, "count(" + loose + "[@TYPE='ILLUSTRATION'])"), "1");
    const std::string from = "the page's article numbers";
    EXPECT_NE(XPath(mets, "string(//*[local-name()='structMap'][@TYPE='LOGICAL']/@LABEL)").find(from), std::string::npos);
    EXPECT_NE(XPath(alto, "string(//*[local-name()='processingStepSettings'])").find(from), std::string::npos);

    const std::string groups = "//*[local-name()='OrderedGroupIndexed']";
    EXPECT_EQ(XPath(pageXml, "count(" + groups + ")"), "4");
    EXPECT_EQ(XPath(pageXml, "string(" + groups + "[2]/@caption)"), "Article 2");
    EXPECT_EQ(XPath(pageXml, "count(" + groups + "[4]/*)"), "2");  // outside articles
    EXPECT_NE(XPath(pageXml, "string(//*[local-name()='Comments'])").find(from), std::string::npos);

    RunResult view = RunCli("view " + page + " " + dir.File("view.html"));
    ASSERT_EQ(view.exitCode, 0);
    RunResult html = RunShell("cat " + dir.File("view.html"));
    EXPECT_NE(html.out.find("<b>Article 3</b> (2)"), std::string::npos);
    EXPECT_NE(html.out.find(from), std::string::npos);
}

// JSON gives every block its article number and keeps the component's own (empty)
// article list.
TEST(CliExport, JsonCarriesEachBlocksArticleNumber) {
    TempDir dir;
    RunResult r = RunCli("dump " + dir.Write("stories.ps", testing::InterleavedArticlesPage()));
    ASSERT_EQ(r.exitCode, 0);
    auto count = [&](const std::string& text) {
        size_t n = 0;
        for (size_t at = r.out.find(text); at != std::string::npos; at = r.out.find(text, at + 1)) ++n;
        return n;
    };
    for (int story = 1; story <= 3; ++story) EXPECT_EQ(count("\"article\":" + std::to_string(story) + ","), 2u) << story;
    EXPECT_EQ(count("\"article\":-1,"), 1u);  // the folio
    EXPECT_EQ(count("\"article\":0,"), 1u);   // the photo names no story
    EXPECT_NE(r.out.find("\"articles\":[]"), std::string::npos);
}

}  // namespace
}  // namespace kestrum
