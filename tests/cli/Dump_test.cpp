// The command-line host, run as a separate program like a pipeline would.
#include "tests/cli/CliRun.h"
#include "tests/support/S2Writer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrum {
namespace {

using testing::RunCli;
using testing::RunResult;
using testing::S2Writer;
using testing::TempDir;

TEST(CliDump, PrintsTheSchemaForAnS2Page) {
    TempDir dir;
    std::string page = dir.Write("B07.s2", S2Writer().ShortHeader(4000, 12000).Data());
    RunResult r = RunCli("dump " + page + " --label 'Front page' --group");
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out.rfind("{\"file\":\"" + page + "\",\"format\":\"s2\",\"page\":{", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"number\":1,\"label\":\"Front page\",\"title\":\"B07\",\"width\":4000,\"height\":12000,"
                         "\"imageWidth\":0,\"imageHeight\":0,\"meanTextSize\":0}"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"textBlocks\":[],\"pictures\":[],\"articles\":[]}"), std::string::npos) << r.out;
}

TEST(CliDump, LabelIsNullWithoutOne) {
    TempDir dir;
    std::string page = dir.Write("p.s2", S2Writer().ShortHeader(1, 2).Data());
    RunResult r = RunCli("dump " + page);
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("\"label\":null"), std::string::npos) << r.out;
}

struct ExitCase {
    const char* name;
    std::string arguments;
    int exitCode;
};

TEST(CliDump, ExitCodes) {
    TempDir dir;
    std::string notAPage = dir.Write("junk.s2", "junk");
    std::string other = dir.Write("page.pdf", "%PDF");
    std::string page = dir.Write("p.s2", S2Writer().ShortHeader(1, 2).Data());
    const ExitCase cases[] = {
        {"no command", "", 1},
        {"unknown command", "list x.ps", 1},
        {"no file", "dump", 1},
        {"unknown option", "dump x.ps --frobnicate", 1},
        {"option without value", "dump x.ps --label", 1},
        {"missing file", "dump " + dir.File("absent.ps"), 2},
        {"not a page", "dump " + notAPage, 2},
        {"unknown extension", "dump " + other, 2},
        {"unknown format", "dump x.ps --format pdf", 1},
        {"METS without ALTO", "dump x.ps --mets m.xml -o a.xml", 1},
        {"METS without an ALTO file", "dump x.ps --format alto --mets m.xml", 1},
        {"render without output", "render x.ps", 1},
        {"unwritable output", "dump " + page + " -o " + dir.File("none/out.json"), 2},
        {"help", "--help", 0},
        {"help of a command", "render --help", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(RunCli(c.arguments).exitCode, c.exitCode) << c.name;
}

}  // namespace
}  // namespace kestrum
