// kestrum render: the page image through SavePageImage, like any host; a failure is
// one line on stderr and exit 2, never a missing file reported as written.
#include "tests/cli/CliRun.h"
#include "tests/cli/ExportPages.h"

#include <gtest/gtest.h>

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
    const FailureCase cases[] = {
        {"S2 page without preview", s2 + " " + dir.File("a.jpg"),
         "kestrum: cannot draw " + s2 + ": S2 pages have no proof; give --page-image\n"},
        {"unwritable output", ps + " " + dir.File("no/such/folder.jpg"), "kestrum: cannot write " + dir.File("no/such/folder.jpg") + "\n"},
        {"preview that is no image", s2 + " " + dir.File("b.jpg") + " --page-image " + junk,
         "kestrum: cannot draw " + s2 + ": the page image " + junk + " cannot be read\n"},
        {"missing page", dir.File("absent.ps") + " " + dir.File("c.jpg"), "kestrum: no such file: " + dir.File("absent.ps") + "\n"},
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
