// The two renderings of a text block's characters that the host reads: plain text,
// with gaps turned into spaces and paragraph breaks into line breaks, and an HTML
// fragment with one font element per run of one font and size.
#pragma once

#include "pscontent/Records.h"

#include <span>
#include <string>

namespace kestrum {

// Returns the plain text and leaves the HTML fragment in block.m_strParaHtml (empty
// for text outside any article). The characters themselves are not changed.
std::string BuildBlockText(CBaseBlock& block, std::span<const St_ReplaceCode> replaceCodes,
                           std::span<const St_ReplaceCode> symbolCodes);

}  // namespace kestrum
