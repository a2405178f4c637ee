// kestrum: the command-line host of the page reader component.
#include "Dump.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: kestrum dump FILE [--group] [--resource-lookup] [--image-folders LIST]\n"
    "                         [--page-image PATH] [--label TEXT]\n"
    "Reads one page (.ps or .s2) and prints its content as JSON on stdout.\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (std::strcmp(argv[1], "dump") != 0) return Usage();

    DumpOptions options;
    bool haveFile = false;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        if (arg == "--group") {
            options.group = true;
        } else if (arg == "--resource-lookup") {
            options.resourceLookup = true;
        } else if (arg == "--image-folders") {
            if (!value(options.imageFolders)) return Usage();
        } else if (arg == "--page-image") {
            if (!value(options.pageImage)) return Usage();
        } else if (arg == "--label") {
            if (!value(options.label)) return Usage();
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage();
        } else if (!haveFile) {
            options.file = arg;
            haveFile = true;
        } else {
            return Usage();
        }
    }
    if (!haveFile) return Usage();

    std::string json;
    std::string error;
    int code = RunDump(options, json, error);
    if (code != 0) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return code;
    }
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
}
