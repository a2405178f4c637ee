// `kestrum batch` over folders of pages, good and bad, run as a pipeline runs it.
#include "tests/cli/BatchRun.h"
#include "tests/cli/CliRun.h"
#include "tests/cli/ExportPages.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace kestrum {
namespace {

namespace fs = std::filesystem;
using testing::BatchRun;
using testing::RunCli;
using testing::S2Writer;
using testing::TempDir;

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A page of many body columns, large enough to keep its worker busy for a good part
// of a second: `words` stream words.
std::string LargeS2Page(size_t words) {
    const std::string line(40, '\xB0');  // 20 characters 啊
    std::string glyphs;
    for (int i = 0; i < 20; ++i) glyphs += "\xB0\xA1";
    S2Writer page;
    page.ShortHeader(30000, 30000);
    for (int block = 0; page.WordCount() < words; ++block)
        page.TextBlock(static_cast<uint16_t>(1000 + block % 10 * 2800), static_cast<int16_t>(1000 + block / 10 % 20 * 1400), 4,
                       std::vector<std::string>(10, glyphs), 110);
    return page.Data();
}

// Stream words of a page whose worker is still busy long after the test has read its
// start line (some 0.3 s here), so that the test's signal finds it at work.
constexpr size_t kBusyPageWords = 3000000;

// `text` with each span from `start` up to the next `end` (kept) replaced by `with`.
std::string ReplaceSpans(std::string text, std::string_view start, std::string_view end, std::string_view with) {
    for (size_t at = text.find(start); at != std::string::npos; at = text.find(start, at + with.size())) {
        const size_t stop = text.find(end, at + start.size());
        if (stop == std::string::npos) break;
        text.replace(at, stop - at, with);
    }
    return text;
}

// The report's lines by page, with the milliseconds, which vary, set to 0.
std::map<std::string, std::string> ReportLines(const std::string& out) {
    std::map<std::string, std::string> lines;
    std::istringstream report(ReadFile(out + "/report.jsonl"));
    for (std::string line; std::getline(report, line);) {
        std::string file = line.substr(9, line.find('"', 9) - 9);
        lines[file] = ReplaceSpans(line, "\"ms\":", ",", "\"ms\":0");
    }
    return lines;
}

std::string OkLine(const std::string& file, int blocks, int pictures, int articles) {
    return "{\"file\":\"" + file + "\",\"status\":\"ok\",\"blocks\":" + std::to_string(blocks) + ",\"pictures\":" +
           std::to_string(pictures) + ",\"articles\":" + std::to_string(articles) + ",\"ms\":0,\"error\":null}";
}

std::string NotOkLine(const std::string& file, const std::string& status, const std::string& error) {
    return "{\"file\":\"" + file + "\",\"status\":\"" + status +
           "\",\"blocks\":0,\"pictures\":0,\"articles\":0,\"ms\":0,\"error\":\"" + error + "\"}";
}

// Every file under `folder`, by its path below it.
std::vector<std::string> FilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string SummaryOf(const std::string& err) {
    size_t at = err.rfind("batch: ");
    return at == std::string::npos ? std::string() : err.substr(at, err.find(" in ", at) - at);
}

TEST(CliBatch, ReportsEveryPageAndGoesOnPastTheBadOnes) {
    TempDir dir;
    const std::string in = dir.File("archive"), out = dir.File("out");
    fs::create_directories(in + "/1987/03");
    fs::create_directories(dir.File("elsewhere"));
    const std::string ps = testing::WritePsExportPage(dir, "archive/1987/03/p1.ps");
    fs::rename(testing::WriteS2ExportPage(dir), in + "/news.s2");
    const std::string psBytes = ReadFile(ps);
    // A page cut short is read for what it holds; one cut inside its header is no page.
    dir.Write("archive/cut.ps", psBytes.substr(0, psBytes.size() / 3));
    dir.Write("archive/cut.s2", S2Writer().ShortHeader(4000, 12000).Data().substr(0, 6));
    dir.Write("archive/junk.s2", "junk");
    dir.Write("archive/notes.txt", "not named like a page");
    ASSERT_EQ(mkfifo((in + "/fifo.ps").c_str(), 0600), 0);
    dir.Write("archive/big.s2", LargeS2Page(kBusyPageWords));
    // A linked folder is not walked: its pages would be found twice, or without end.
    testing::WritePsExportPage(dir, "elsewhere/other.ps");
    fs::create_directory_symlink(dir.File("elsewhere"), in + "/linked");

    BatchRun run({in, "--out", out, "--jobs", "2"});
    pid_t worker = run.WorkerOf(in + "/big.s2");
    ASSERT_GT(worker, 0) << run.Stderr();
    kill(worker, SIGKILL);
    EXPECT_EQ(run.Wait(), 1) << run.Stderr();

    std::map<std::string, std::string> expected = {
        {in + "/1987/03/p1.ps", OkLine(in + "/1987/03/p1.ps", 2, 1, 0)},
        {in + "/news.s2", OkLine(in + "/news.s2", 0, 0, 7)},
        {in + "/big.s2", NotOkLine(in + "/big.s2", "crashed", "worker died (signal 9)")},
        {in + "/cut.ps", OkLine(in + "/cut.ps", 0, 0, 0)},
        {in + "/cut.s2", NotOkLine(in + "/cut.s2", "failed", "cannot open " + in + "/cut.s2 as a page")},
        {in + "/junk.s2", NotOkLine(in + "/junk.s2", "failed", "cannot open " + in + "/junk.s2 as a page")},
        {in + "/fifo.ps", NotOkLine(in + "/fifo.ps", "failed", "not a regular file: " + in + "/fifo.ps")},
    };
    EXPECT_EQ(ReportLines(out), expected);
    EXPECT_EQ(SummaryOf(run.Stderr()), "batch: 7 pages, 3 ok, 3 failed, 0 timed out, 1 crashed, 0 skipped") << run.Stderr();
    // Only the pages that were read have an output, each what dump writes.
    EXPECT_EQ(FilesUnder(out), (std::vector<std::string>{"1987/03/p1.ps.json", "cut.ps.json", "news.s2.json", "report.jsonl"}));
    EXPECT_EQ(ReadFile(out + "/1987/03/p1.ps.json"), RunCli("dump " + ps).out);
    EXPECT_EQ(ReadFile(out + "/news.s2.json"), RunCli("dump " + in + "/news.s2").out);
}

// An export with the clock's reading (ALTO's and METS's processing time) left out.
std::string Timeless(const std::string& xml) {
    // ALTO's <processingDateTime>…</processingDateTime>, METS's CREATEDATE="…".
    return ReplaceSpans(ReplaceSpans(xml, "<processingDateTime>", "<", "<time>"), "CREATEDATE=\"", "\"", "<time>");
}

TEST(CliBatch, EachFormatWritesWhatDumpWrites) {
    TempDir dir;
    const std::string in = dir.File("in");
    fs::create_directories(in + "/sub");
    const std::string ps = testing::WritePsExportPage(dir, "in/sub/p.ps");
    const std::string s2 = testing::WriteS2ExportPage(dir);  // a FILE argument: its output takes its base name
    const struct {
        const char* format;
        const char* suffix;
    } formats[] = {{"json", ".json"}, {"page", ".page.xml"}, {"alto", ".alto.xml"}};
    for (const auto& f : formats) {
        const std::string out = dir.File(std::string("out-") + f.format);
        BatchRun run({in + "/", s2, "--out", out, "--format", f.format, "--group", "--label", "Front"});
        ASSERT_EQ(run.Wait(), 0) << f.format << run.Stderr();
        const std::string options = std::string(" --group --label Front --format ") + f.format;
        EXPECT_EQ(Timeless(ReadFile(out + "/sub/p.ps" + f.suffix)), Timeless(RunCli("dump " + ps + options).out)) << f.format;
        EXPECT_EQ(Timeless(ReadFile(out + "/news.s2" + f.suffix)), Timeless(RunCli("dump " + s2 + options).out)) << f.format;
        std::map<std::string, std::string> report = ReportLines(out);
        EXPECT_EQ(report.count(in + "/sub/p.ps"), 1u) << f.format;  // the folder as given, joined once
        EXPECT_EQ(report.count(s2), 1u) << f.format;
    }
}

TEST(CliBatch, ResumeSkipsTheDonePagesAndRunsTheOthersAgain) {
    TempDir dir;
    const std::string in = dir.File("in"), out = dir.File("out");
    fs::create_directories(in);
    testing::WritePsExportPage(dir, "in/a.ps");
    dir.Write("in/b.s2", "junk");
    BatchRun first({in, "--out", out});
    ASSERT_EQ(first.Wait(), 1);
    fs::rename(testing::WriteS2ExportPage(dir), in + "/b.s2");

    BatchRun resumed({in, "--out", out, "--resume"});
    EXPECT_EQ(resumed.Wait(), 0) << resumed.Stderr();
    EXPECT_EQ(SummaryOf(resumed.Stderr()), "batch: 2 pages, 1 ok, 0 failed, 0 timed out, 0 crashed, 1 skipped");
    std::string report = ReadFile(out + "/report.jsonl");
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 3) << report;  // the first run's two lines, then b's
    EXPECT_EQ(ReportLines(out)[in + "/b.s2"], OkLine(in + "/b.s2", 0, 0, 7));

    // Without --resume every page runs again, into a new report.
    BatchRun again({in, "--out", out});
    EXPECT_EQ(again.Wait(), 0);
    EXPECT_EQ(SummaryOf(again.Stderr()), "batch: 2 pages, 2 ok, 0 failed, 0 timed out, 0 crashed, 0 skipped");
    report = ReadFile(out + "/report.jsonl");
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 2) << report;
}

TEST(CliBatch, APagePastItsTimeIsStopped) {
    TempDir dir;
    const std::string page = dir.Write("big.s2", LargeS2Page(kBusyPageWords));
    const std::string out = dir.File("out");
    BatchRun run({page, "--out", out, "--timeout", "1"});
    // A worker held still stands for a page that never ends.
    pid_t worker = run.WorkerOf(page);
    ASSERT_GT(worker, 0) << run.Stderr();
    kill(worker, SIGSTOP);
    EXPECT_EQ(run.Wait(), 1);
    EXPECT_EQ(ReportLines(out)[page], NotOkLine(page, "timeout", "timed out after 1 s"));
    EXPECT_EQ(FilesUnder(out), std::vector<std::string>{"report.jsonl"});
}

TEST(CliBatch, AnInterruptedBatchLeavesOnlyWholeFiles) {
    TempDir dir;
    const std::string in = dir.File("in"), out = dir.File("out");
    fs::create_directories(in);
    const std::string big = LargeS2Page(1000000);
    for (const char* name : {"a.s2", "b.s2", "c.s2", "d.s2"}) dir.Write(std::string("in/") + name, big);
    BatchRun run({in, "--out", out, "--jobs", "2"});
    ASSERT_GT(run.WorkerOf(in + "/c.s2"), 0);  // a and b done or under way
    kill(run.Pid(), SIGTERM);
    EXPECT_EQ(run.Wait(), 1);
    EXPECT_NE(run.Stderr().find("batch: interrupted"), std::string::npos) << run.Stderr();
    std::string report = ReadFile(out + "/report.jsonl");
    for (const std::string& file : FilesUnder(out)) {
        if (file == "report.jsonl") continue;
        ASSERT_EQ(file.find(".tmp-"), std::string::npos) << file;
        EXPECT_EQ(ReadFile(out + "/" + file), RunCli("dump " + in + "/" + file.substr(0, file.size() - 5)).out) << file;
    }
    EXPECT_TRUE(report.empty() || report.back() == '\n') << report;
}

TEST(CliBatch, BadUsageAndAnUnusableOutputFolderExit2) {
    TempDir dir;
    const std::string page = testing::WritePsExportPage(dir);
    const std::string file = dir.Write("file", "x");
    const struct {
        const char* name;
        std::string arguments;
    } cases[] = {
        {"no --out", "batch " + page},
        {"no page", "batch --out " + dir.File("o")},
        {"no jobs", "batch " + page + " --out " + dir.File("o") + " --jobs 0"},
        {"jobs not a number", "batch " + page + " --out " + dir.File("o") + " --jobs two"},
        {"negative timeout", "batch " + page + " --out " + dir.File("o") + " --timeout -1"},
        {"an output file", "batch " + page + " --out " + dir.File("o") + " -o x.json"},
        {"unknown format", "batch " + page + " --out " + dir.File("o") + " --format pdf"},
        {"output folder is a file", "batch " + page + " --out " + file},
    };
    for (const auto& c : cases) EXPECT_EQ(RunCli(c.arguments).exitCode, 2) << c.name;
}

// The temporary name is only for files the command makes or replaces: a device named
// as the output is written through, and kept when the write fails.
TEST(CliOutput, ADeviceIsWrittenThroughAndKept) {
    TempDir dir;
    const std::string page = testing::WritePsExportPage(dir);
    struct stat st;
    if (stat("/dev/full", &st) != 0 || !S_ISCHR(st.st_mode)) GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(RunCli("dump " + page + " -o /dev/full").exitCode, 2);
    ASSERT_EQ(stat("/dev/full", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(RunCli("dump " + page + " -o /dev/null").exitCode, 0);
    EXPECT_EQ(FilesUnder(dir.Path()), std::vector<std::string>{"page.ps"});
}

}  // namespace
}  // namespace kestrum
