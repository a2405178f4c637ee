// The kestrum commands. Each takes its parsed arguments and returns the exit code:
// 0 done, 2 a file that is missing, not a page, unreadable or unwritable.
#pragma once

#include "Args.h"

struct Command {
    const char* name;
    CommandSyntax syntax;
    const char* usage;  // the synopsis and what the command does
    int (*run)(const CommandArgs& args);
};

// The commands in the order --help lists them.
const std::vector<Command>& Commands();

// Prints "kestrum: REASON" on stderr and gives the exit code of a file failure.
int FileFailure(const std::string& reason);

int RunDump(const CommandArgs& args);
int RunRender(const CommandArgs& args);
int RunDib(const CommandArgs& args);
int RunView(const CommandArgs& args);
// 0 when every page is done, 1 when any page is not, 2 when OUT cannot hold the report.
int RunBatch(const CommandArgs& args);
