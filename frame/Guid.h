// Identifiers as the registry writes them: "{01EDC397-47A5-44A5-831C-AB5743323FEF}".
#pragma once

#include <kestrum/kestrum.h>

#include <string>
#include <string_view>

namespace kestrum {

// Upper-case hexadecimal in braces.
std::string GuidToString(const GUID& guid);
// Braces required, hexadecimal digits of either case; false (and `out` untouched) otherwise.
bool ParseGuid(std::string_view text, GUID& out);

}  // namespace kestrum
