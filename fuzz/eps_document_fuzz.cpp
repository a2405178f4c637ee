// Any bytes as the document embedded in a PostScript page, read through the
// interfaces: the cut-out, the second reader and its preview face what the bytes hold.
#include "fuzz/FuzzHost.h"

#include <string>

namespace {

// A page of the dialect around the document: its clip line and placement.
std::string PageAround(const uint8_t* data, size_t size) {
    std::string page =
        "%!PS-Adobe-3.0\n%%Creator:(\xBB\xAA\xB9\xE2\xD2\xD7\xBD\xDD\xD4\xD3\xD6\xBE\xC5\xC5\xB0\xE6\xCF\xB5\xCD\xB3)\n"
        "%%BoundingBox: 0 0 200 200\n";
    page.resize(40000, '\n');
    page += "%%EndPageSetup\ngs 100 100 5000 5000 rectclip \n%%BeginDocument: fuzz.eps\nBeginEPSF\n"
            "gs 5000 5000 tr 1 1 scale -2500 -2500 tr \n";
    page.append(reinterpret_cast<const char*>(data), size);
    page += "\nEndEPSF\n%%EndDocument: fuzz.eps\n%end of page 1\n";
    return page;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string page = PageAround(data, size);
    return kestrum::fuzz::ReadPage(reinterpret_cast<const uint8_t*>(page.data()), page.size(), ".ps", false);
}
