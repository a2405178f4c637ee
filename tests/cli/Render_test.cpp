// kestrum render: the page image through SavePageImage, like any host; a failure is
// one line on stderr and exit 2, never a missing file reported as written.
#include "tests/cli/CliRun.h"
#include "tests/cli/ExportPages.h"
#include "tests/support/PsPageWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <string>

namespace kestrum {
namespace {

using testing::RunCli;
using testing::RunResult;
using testing::RunShell;
using testing::TempDir;

std::string Identify(const std::string& file) { return RunShell("identify -format '%m %wx%h' '" + file + "'").out; }

TEST(CliRender, WritesTheProofOrThePreview) {
    TempDir dir;
    std::string ps = testing::WritePsExportPage(dir);
    ASSERT_EQ(RunCli("render " + ps + " " + dir.File("proof.jpg")).exitCode, 0);
    EXPECT_EQ(Identify(dir.File("proof.jpg")), "JPEG 1190x1684");
    RunShell("convert -size 40x30 xc:red " + dir.File("preview.png"));
    RunShell("convert -size 40x30 xc:red " + dir.File("preview.jpg"));
    std::string s2 = testing::WriteS2ExportPage(dir);
    ASSERT_EQ(RunCli("render " + s2 + " " + dir.File("s2.jpg") + " --page-image " + dir.File("preview.jpg")).exitCode, 0);
    EXPECT_EQ(Identify(dir.File("s2.jpg")), "JPEG 40x30");
}

// The proof decoded by an independent reader: twice the page's points, the blue frame,
// white paper and a red box where the page has it (the one-pixel frame blurred by JPEG).
TEST(CliRender, ProofShowsFramePaperAndBox) {
    TempDir dir;
    testing::PsPageWriter page;
    page.boundingBox(0, 0, 100, 50).box(1030, 1030, 2060, 2060, testing::PsInk::Cmyk(0, 1, 1, 0));
    const std::string ps = dir.Write("box.ps", page.bytes());
    ASSERT_EQ(RunCli("render " + ps + " " + dir.File("box.jpg")).exitCode, 0);
    // The box covers points 10..30 both ways: pixels 20..60.
    RunResult r = RunShell("convert '" + dir.File("box.jpg") +
                           "' -format '%wx%h %[fx:p{0,50}.b>p{0,50}.r+0.2] %[fx:p{150,50}.r>0.9&&p{150,50}.b>0.9] "
                           "%[fx:p{40,40}.r>0.8&&p{40,40}.g<0.2]' info:");
    EXPECT_EQ(r.out, "200x100 1 1 1") << r.err;
}

struct FailureCase {
    const char* name;
    std::string arguments;
    std::string message;
};

TEST(CliRender, FailuresSayWhy) {
    TempDir dir;
    std::string ps = testing::WritePsExportPage(dir);
    std::string s2 = testing::WriteS2ExportPage(dir);
    std::string junk = dir.Write("junk.jpg", "not an image");
    testing::PsPageWriter hugePage;
    hugePage.boundingBox(0, 0, 1e6, 1e6);
    std::string huge = dir.Write("huge.ps", hugePage.bytes());
    std::filesystem::create_directory(dir.File("pages.ps"));
    const FailureCase cases[] = {
        {"S2 page without preview", s2 + " " + dir.File("a.jpg"),
         "kestrum: cannot draw " + s2 + ": S2 pages have no proof; give --page-image\n"},
        {"unwritable output", ps + " " + dir.File("no/such/folder.jpg"), "kestrum: cannot write " + dir.File("no/such/folder.jpg") + "\n"},
        {"preview that is no image", s2 + " " + dir.File("b.jpg") + " --page-image " + junk,
         "kestrum: cannot draw " + s2 + ": the page image " + junk + " cannot be read\n"},
        {"page too large to draw", huge + " " + dir.File("d.jpg"), "kestrum: cannot draw " + huge + "\n"},
        {"missing page", dir.File("absent.ps") + " " + dir.File("c.jpg"), "kestrum: no such file: " + dir.File("absent.ps") + "\n"},
        {"a folder for the page", dir.File("pages.ps") + " " + dir.File("e.jpg"),
         "kestrum: not a regular file: " + dir.File("pages.ps") + "\n"},
    };
    for (const auto& c : cases) {
        RunResult r = RunCli("render " + c.arguments);
        EXPECT_EQ(r.exitCode, 2) << c.name;
        EXPECT_EQ(r.err, c.message) << c.name;
    }
    EXPECT_EQ(RunShell("ls " + dir.Path()).out.find("b.jpg"), std::string::npos) << "no half-written image is left";
}

}  // namespace
}  // namespace kestrum

namespace kestrum {
namespace {

// The bitmap GetPageImage hands out, as a .bmp that an independent decoder reads back
// with the preview's size and colours.
TEST(CliDib, WritesABmpThatDecodes) {
    testing::TempDir dir;
    std::string s2 = testing::WriteS2ExportPage(dir);
    testing::RunShell("convert -size 40x30 xc:'rgb(0,0,255)' -fill 'rgb(255,0,0)' -draw 'rectangle 0,0 19,29' " +
                      dir.File("preview.jpg"));
    ASSERT_EQ(testing::RunCli("dib " + s2 + " " + dir.File("page.bmp") + " --page-image " + dir.File("preview.jpg")).exitCode, 0);
    testing::RunResult r = testing::RunShell("convert '" + dir.File("page.bmp") +
                                             "' -format '%wx%h %[fx:p{5,5}.r>0.8] %[fx:p{35,5}.b>0.8]' info:");
    EXPECT_EQ(r.out, "40x30 1 1") << r.err;
    testing::RunResult none = testing::RunCli("dib " + s2 + " " + dir.File("none.bmp"));
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_EQ(none.err, "kestrum: no page image for " + s2 + ": give --page-image\n");
}

}  // namespace
}  // namespace kestrum
