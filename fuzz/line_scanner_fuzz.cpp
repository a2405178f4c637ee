// Any bytes as one line of a PostScript page, through the scanner's operations.
#include "psreader/LineScanner.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace kestrum;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    float numbers[8];
    SplitNumbers(line, ' ', 8, numbers);
    Atof(line);
    Atoi(line);
    std::string text = ExtractShowText(line);
    IsMirroredConcat(line);
    ConcatTranslation concat;
    ReadConcat(line, concat);
    std::string_view rest = text;
    uint16_t code = 0;
    while (!rest.empty()) TakeChar(rest, code);
    const size_t font = line.find(kFindFont);
    if (font != std::string_view::npos) ReadFontMatrix(line, font);
    return 0;
}
