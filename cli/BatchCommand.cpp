#include "BatchProgress.h"
#include "BatchReport.h"
#include "Commands.h"
#include "Output.h"
#include "PageExport.h"
#include "PageWalk.h"
#include "WorkerPool.h"

#include "host/PageSession.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// The folders of `path` made as needed; a folder that cannot be made shows as the
// output that cannot be written.
void MakeFoldersOf(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        mkdir(path.substr(0, slash).c_str(), 0777);
}

struct Batch {
    const CommandArgs& args;
    std::vector<PageEntry> pages;
    int report = -1;

    std::string OutputOf(const PageEntry& page) const {
        return args.outFolder + "/" + page.rel + ExportSuffix(args.format);
    }

    // In the worker: the page read and written as dump writes it, and its counts sent back
    // as "ok BLOCKS PICTURES ARTICLES" or "failed REASON".
    std::string RunPage(size_t index) const {
        PageOptions options = args.page;
        options.file = pages[index].file;
        std::string error;
        auto session = PageSession::Open(options, error);
        if (!session) return "failed " + error;
        std::string out = OutputOf(pages[index]);
        MakeFoldersOf(out);
        if (!WriteOutput(out, ExportPage(session->Doc(), args), error)) return "failed " + error;
        const PageDoc& doc = session->Doc();
        return "ok " + std::to_string(doc.textBlocks.size()) + " " + std::to_string(doc.pictures.size()) + " " +
               std::to_string(doc.articles.size());
    }

    PageReport ReportOf(size_t index, const JobOutcome& outcome) const {
        PageReport page;
        page.file = pages[index].file;
        page.ms = outcome.ms;
        switch (outcome.kind) {
        case JobOutcome::Done: {
            std::istringstream said(outcome.said);
            said >> page.status;
            if (page.status == "ok") {
                said >> page.blocks >> page.pictures >> page.articles;
            } else {
                std::getline(said >> std::ws, page.error);
                page.status = "failed";
            }
            break;
        }
        case JobOutcome::TimedOut:
            page.status = "timeout";
            page.error = "timed out after " + std::to_string(args.timeout) + " s";
            break;
        case JobOutcome::Died:
            page.status = "crashed";
            page.error = outcome.signal ? "worker died (signal " + std::to_string(outcome.signal) + ")"
                                        : "worker died (exit " + std::to_string(outcome.exitCode) + ")";
            break;
        case JobOutcome::NotStarted:
        case JobOutcome::Interrupted:
            page.status = "failed";
            page.error = outcome.said;
            break;
        }
        return page;
    }

    // A page that did not finish leaves no output: neither the worker's half-written file
    // nor one an earlier run wrote.
    void RemoveOutput(size_t index, pid_t worker) const {
        std::string out = OutputOf(pages[index]);
        std::remove(out.c_str());
        if (worker > 0) std::remove(TemporaryNameOf(out, worker).c_str());
    }

    bool Append(const PageReport& page) const {
        std::string line = ReportLine(page);
        return write(report, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    }
};

unsigned Cores() {
    unsigned cores = std::thread::hardware_concurrency();
    return cores ? cores : 1;
}

}  // namespace

int RunBatch(const CommandArgs& args) {
    Batch batch{args, FindPages(args.positional)};
    std::string reportPath = args.outFolder + "/report.jsonl";
    std::set<std::string> done = args.resume ? PagesDoneIn(reportPath) : std::set<std::string>();
    MakeFoldersOf(reportPath);
    batch.report = open(reportPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | (args.resume ? 0 : O_TRUNC), 0666);
    if (batch.report < 0) {
        std::fprintf(stderr, "kestrum: cannot write %s: %s\n", reportPath.c_str(), std::strerror(errno));
        return 2;
    }

    std::vector<size_t> todo;
    for (size_t i = 0; i < batch.pages.size(); ++i)
        if (!done.count(batch.pages[i].file)) todo.push_back(i);
    size_t skipped = batch.pages.size() - todo.size();
    BatchProgress progress(batch.pages.size(), skipped, isatty(STDERR_FILENO));
    size_t ok = 0, failed = 0, timedOut = 0, crashed = 0, interrupted = 0;
    bool reportWhole = true;

    JobHandlers handlers;
    handlers.run = [&](size_t job) { return batch.RunPage(todo[job]); };
    handlers.started = [&](size_t job, pid_t worker) { progress.Started(batch.pages[todo[job]].file, worker); };
    handlers.finished = [&](size_t job, const JobOutcome& outcome) {
        size_t index = todo[job];
        if (outcome.kind == JobOutcome::Interrupted) {
            ++interrupted;
            batch.RemoveOutput(index, outcome.worker);
            return;
        }
        PageReport page = batch.ReportOf(index, outcome);
        if (page.status != "ok") batch.RemoveOutput(index, outcome.worker);
        (page.status == "ok" ? ok : page.status == "failed" ? failed : page.status == "timeout" ? timedOut : crashed)++;
        reportWhole = batch.Append(page) && reportWhole;
        progress.Finished(page.file, page.status, page.ms, page.error);
    };
    handlers.tick = [&] { progress.Tick(); };
    bool whole = RunJobs(todo.size(), args.jobs ? args.jobs : Cores(), args.timeout, handlers);
    close(batch.report);

    progress.End();
    if (!whole) std::fprintf(stderr, "batch: interrupted, %zu pages stopped and %zu not started\n", interrupted,
                             todo.size() - ok - failed - timedOut - crashed - interrupted);
    if (!reportWhole) std::fprintf(stderr, "kestrum: cannot write %s\n", reportPath.c_str());
    std::fprintf(stderr, "batch: %zu pages, %zu ok, %zu failed, %zu timed out, %zu crashed, %zu skipped in %.1f s (%.1f pages/s)\n",
                 batch.pages.size(), ok, failed, timedOut, crashed, skipped, progress.Seconds(), progress.PagesPerSecond());
    return whole && reportWhole && ok == todo.size() ? 0 : 1;
}
