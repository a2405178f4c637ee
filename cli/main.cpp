// kestrum: the command-line host of the page reader component.
#include "Commands.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Every command's synopsis: the first line of its usage without the "usage: ".
void PrintOverview(std::FILE* to) {
    constexpr size_t kUsagePrefix = sizeof("usage: ") - 1;
    std::fputs("usage: kestrum COMMAND FILE ... (kestrum COMMAND --help for one command)\n", to);
    for (const Command& command : Commands()) {
        const char* synopsis = command.usage + kUsagePrefix;
        std::fprintf(to, "  %.*s\n", static_cast<int>(std::strchr(synopsis, '\n') - synopsis), synopsis);
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
            // A batch exits 1 when a page is not done, so its bad usage must say more.
            return command.syntax.batch ? 2 : 1;
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
