// Display names for the typesetting system's PostScript font names.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

// "宋体": the display name of every font the table does not know.
inline constexpr const char* kDefaultDisplayFont = "\xCB\xCE\xCC\xE5";

// The display name of a PostScript font name; "X-" is ignored wherever it stands.
std::string MapFontName(std::string_view psName);

}  // namespace kestrum
