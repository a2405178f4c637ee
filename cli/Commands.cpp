#include "Commands.h"

#include <cstdio>

// The settings every command passes to the component.
#define KESTRUM_PAGE_OPTIONS                                                          \
    "  --group              group an S2 page's blocks into articles\n"               \
    "  --resource-lookup    match picture names against the page's resource list\n"  \
    "  --image-folders LIST picture folders, ';'-separated (*DIR: with subfolders)\n" \
    "  --page-image PATH    the page's preview image\n"                              \
    "  --label TEXT         the page's label\n"

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"dump", {0, true},
         "usage: kestrum dump FILE [--format json|page|alto] [-o OUT] [--mets OUT.xml] [page options]\n"
         "Reads one page (.ps or .s2) and writes its content: JSON (the default), PAGE XML or ALTO\n"
         "(with --mets, a METS file of the articles beside it), on stdout or into OUT.\n" KESTRUM_PAGE_OPTIONS,
         RunDump},
        {"render", {1, false},
         "usage: kestrum render FILE OUT.jpg [page options]\n"
         "Writes the page image as a JPEG: the preview image, or the proof drawn of a PostScript page.\n"
         KESTRUM_PAGE_OPTIONS,
         RunRender},
        {"dib", {1, false},
         "usage: kestrum dib FILE OUT.bmp --page-image PATH [page options]\n"
         "Writes the page's preview image, as the component hands it out as a bitmap, as a .bmp file.\n"
         KESTRUM_PAGE_OPTIONS,
         RunDib},
        {"view", {1, false},
         "usage: kestrum view FILE OUT.html [page options]\n"
         "Writes one self-contained HTML page showing the page image with every block and article\n"
         "drawn over it: colours by kind, reading order, text and font on hover, a list of articles.\n"
         KESTRUM_PAGE_OPTIONS,
         RunView},
        {"batch", {0, false, true},
         "usage: kestrum batch FILE|FOLDER... --out DIR [--format json|page|alto] [--jobs N] [--timeout SECONDS]\n"
         "                     [--resume] [page options]\n"
         "Runs every page of the folders (.ps and .s2, recursively) and each FILE, each in a worker\n"
         "process of its own, N at a time (one per core by default), and writes what dump writes of\n"
         "each page into DIR under the page's path below its folder, with the format's ending.\n"
         "DIR/report.jsonl gets one line per page as it finishes: file, status (ok, failed, timeout,\n"
         "crashed), the counts of blocks, pictures and articles, milliseconds and the error. A page\n"
         "past SECONDS (60 by default) is stopped; --resume skips the pages the report has as ok.\n"
         "Exits 0 when every page is ok, 1 when any is not, 2 on bad usage or an unusable DIR.\n"
         KESTRUM_PAGE_OPTIONS,
         RunBatch},
    };
    return commands;
}

int FileFailure(const std::string& reason) {
    std::fprintf(stderr, "kestrum: %s\n", reason.c_str());
    return 2;
}
