// The command-line host, run as a separate program like a pipeline would.
#include "tests/support/S2Writer.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kestrum {
namespace {

using testing::S2Writer;
using testing::TempDir;

struct RunResult {
    int exitCode = -1;
    std::string out;
};

RunResult RunCli(const std::string& arguments) {
    RunResult result;
    std::string command = std::string(KESTRUM_CLI_PATH) + " " + arguments + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

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
    const ExitCase cases[] = {
        {"no command", "", 1},
        {"unknown command", "list x.ps", 1},
        {"no file", "dump", 1},
        {"unknown option", "dump x.ps --frobnicate", 1},
        {"option without value", "dump x.ps --label", 1},
        {"missing file", "dump " + dir.File("absent.ps"), 2},
        {"not a page", "dump " + notAPage, 2},
        {"unknown extension", "dump " + other, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(RunCli(c.arguments).exitCode, c.exitCode) << c.name;
}

}  // namespace
}  // namespace kestrum
