#include "textasm/CharCodes.h"

#include "platform/Mbcs.h"

namespace kestrum {
namespace {

constexpr std::string_view kSymbolFontMark = "\xC5\xC5\xB0\xE6\xB7\xFB\xBA\xC5";  // 排版符号

}  // namespace

bool IsSymbolFont(std::string_view fontName) {
    // A plain byte search: the mark is looked for wherever it occurs, as the
    // typesetting system's own font test does.
    return fontName.find(kSymbolFontMark) != std::string_view::npos;
}

CodeReplacer::CodeReplacer(std::span<const St_ReplaceCode> replaceCodes, std::span<const St_ReplaceCode> symbolCodes)
    : replaceCodes_(replaceCodes), symbolCodes_(symbolCodes) {
    for (const St_ReplaceCode& pair : replaceCodes) {
        replaceMin_ = std::min(replaceMin_, pair.from);
        replaceMax_ = std::max(replaceMax_, pair.from);
    }
}

std::string CharToText(St_WordInfo& ch, std::span<const St_ReplaceCode> replaceCodes,
                       std::span<const St_ReplaceCode> symbolCodes) {
    ch.wCode = ReplacedCode(ch.wCode, IsSymbolFont(ch.strFontName), replaceCodes, symbolCodes);
    std::array<char, 2> buffer;
    return std::string(CodeText(ch.wCode, buffer));
}

}  // namespace kestrum
