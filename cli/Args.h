// The command line of one kestrum command: its file arguments, the page settings and
// the output options, checked against what the command accepts.
#pragma once

#include "host/HostSettings.h"

#include <string>
#include <vector>

struct CommandArgs {
    PageOptions page;                     // page.file is the first positional argument
    std::vector<std::string> positional;  // after the page file
    std::string format = "json";          // --format
    std::string out;                      // -o, empty for stdout
    std::string mets;                     // --mets
    bool help = false;
    // A batch's own options; its FILE and FOLDER arguments are all in `positional`.
    std::string outFolder;  // --out
    unsigned jobs = 0;      // --jobs, 0 for one per core
    unsigned timeout = 60;  // --timeout, seconds a page may take
    bool resume = false;    // --resume
};

// Which options a command takes besides the page settings.
struct CommandSyntax {
    size_t outputs = 0;  // positional arguments after FILE
    bool formatOptions = false;
    bool batch = false;  // FILE and FOLDER arguments, one or more, and the batch options
};

// False on bad usage (unknown option, missing value or argument).
bool ParseArgs(int argc, char** argv, const CommandSyntax& syntax, CommandArgs& args);
