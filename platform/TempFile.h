// Files of our own in a shared folder: created new under a name nobody else holds,
// so that nothing already there is ever opened, truncated or deleted.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

// Creates `folder` + `stem` + "-" + six random characters + `extension` exclusively and
// writes `bytes` into it. The new file's narrow path; empty when none could be made
// (nothing is left behind then).
std::string CreateUniqueFile(std::string_view folder, std::string_view stem, std::string_view extension,
                             std::string_view bytes);

}  // namespace kestrum
