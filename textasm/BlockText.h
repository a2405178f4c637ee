// The two renderings of a text block's characters that the host reads: plain text,
// with gaps turned into spaces and paragraph breaks into line breaks, and an HTML
// fragment with one font element per run of one font and size.
#pragma once

#include "pscontent/Records.h"

#include <span>
#include <string>

namespace kestrum {

struct BlockTexts {
    std::string text;  // plain text
    std::string html;  // HTML fragment; empty for text outside any article
};

// Both renderings of the block's characters, which are read and not changed.
BlockTexts RenderBlockText(const CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                           std::span<const St_ReplaceCode> symbolCodes);

// Returns the plain text and leaves the HTML fragment in block.m_strParaHtml.
std::string BuildBlockText(CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                           std::span<const St_ReplaceCode> symbolCodes);

}  // namespace kestrum
