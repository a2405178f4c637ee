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
    };
    return commands;
}

int FileFailure(const std::string& reason) {
    std::fprintf(stderr, "kestrum: %s\n", reason.c_str());
    return 2;
}
