// kestrum: the command-line host of the page reader component.
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void PrintOverview(std::FILE* to) {
    std::fputs("usage: kestrum COMMAND FILE ... (kestrum COMMAND --help for one command)\n", to);
    for (const Command& command : Commands()) {
        const char* end = std::strchr(command.usage, '\n');
        std::fprintf(to, "  %.*s\n", static_cast<int>(end - command.usage) - 7, command.usage + 7);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintOverview(stderr);
        return 1;
    }
    std::string name = argv[1];
    if (name == "--help" || name == "-h") {
        PrintOverview(stdout);
        return 0;
    }
    for (const Command& command : Commands()) {
        if (name != command.name) continue;
        CommandArgs args;
        if (!ParseArgs(argc - 2, argv + 2, command.syntax, args)) {
            std::fputs(command.usage, stderr);
            return 1;
        }
        if (args.help) {
            std::fputs(command.usage, stdout);
            return 0;
        }
        return command.run(args);
    }
    PrintOverview(stderr);
    return 1;
}
