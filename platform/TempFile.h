// Files of our own in a shared folder: created new under a name nobody else holds,
// so that nothing already there is ever opened, truncated or deleted.
#pragma once

#include <string>
#include <string_view>

namespace kestrum {

// Creates `folder` + `stem` + "-" + a tag + `extension` exclusively and writes `bytes`
// into it. The tag is `preferredTag` when that name is free, so that the same input
// gives the same name from one run to the next; otherwise (or without one) six random
// characters. The new file's narrow path; empty when none could be made (nothing is
// left behind then).
std::string CreateUniqueFile(std::string_view folder, std::string_view stem, std::string_view extension,
                             std::string_view bytes, std::string_view preferredTag = {});

}  // namespace kestrum
