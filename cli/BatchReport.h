// The report of a batch, OUT/report.jsonl: one JSON object per page, appended as pages
// finish, each line written with one call so that an interrupted run leaves whole lines.
#pragma once

#include <cstdint>
#include <set>
#include <string>

struct PageReport {
    std::string file;
    std::string status;  // "ok", "failed", "timeout" or "crashed"
    size_t blocks = 0, pictures = 0, articles = 0;
    int64_t ms = 0;
    std::string error;  // empty when ok
};

std::string ReportLine(const PageReport& page);

// The pages whose latest line in a report says "ok"; none when there is no report.
std::set<std::string> PagesDoneIn(const std::string& reportPath);
