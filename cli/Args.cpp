#include "Args.h"

#include <charconv>

namespace {

// A whole positive number, as --jobs and --timeout take.
bool PositiveNumber(const std::string& text, unsigned& into) {
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, into);
    return error == std::errc() && stop == end && into > 0;
}

}  // namespace

bool ParseArgs(int argc, char** argv, const CommandSyntax& syntax, CommandArgs& args) {
    std::vector<std::string> files;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--help" || arg == "-h") {
            args.help = true;
        } else if (arg == "--group") {
            args.page.group = true;
        } else if (arg == "--resource-lookup") {
            args.page.resourceLookup = true;
        } else if (arg == "--image-folders") {
            ok = value(args.page.imageFolders);
        } else if (arg == "--page-image") {
            ok = value(args.page.pageImage);
        } else if (arg == "--label") {
            ok = value(args.page.label);
        } else if ((syntax.formatOptions || syntax.batch) && arg == "--format") {
            ok = value(args.format) && (args.format == "json" || args.format == "page" || args.format == "alto");
        } else if (syntax.batch && arg == "--out") {
            ok = value(args.outFolder) && !args.outFolder.empty();
        } else if (syntax.batch && (arg == "--jobs" || arg == "--timeout")) {
            std::string number;
            ok = value(number) && PositiveNumber(number, arg == "--jobs" ? args.jobs : args.timeout);
        } else if (syntax.batch && arg == "--resume") {
            args.resume = true;
        } else if (syntax.formatOptions && arg == "-o") {
            ok = value(args.out);
        } else if (syntax.formatOptions && arg == "--mets") {
            ok = value(args.mets);
        } else if (!arg.empty() && arg[0] == '-') {
            ok = false;
        } else {
            files.push_back(arg);
        }
        if (!ok) return false;
    }
    if (args.help) return true;
    if (syntax.batch) {
        args.positional = files;
        return !files.empty() && !args.outFolder.empty();
    }
    if (files.size() != 1 + syntax.outputs) return false;
    // The METS file names the ALTO file, so the ALTO must go to a file.
    if (!args.mets.empty() && (args.format != "alto" || args.out.empty() || args.out == "-")) return false;
    args.page.file = files.front();
    args.positional.assign(files.begin() + 1, files.end());
    return true;
}
