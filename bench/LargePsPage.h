// The benchmarks' large PostScript page: about 8 MB of articles, each a title and
// three body columns of paragraphs with rules, a box and a picture; written once.
#pragma once

#include "tests/support/TempDir.h"

#include <string>

namespace kestrum::bench {

struct LargePage {
    LargePage();
    testing::TempDir dir;
    std::string path;
    std::string bytes;
};

const LargePage& Page();

// The page's bytes, made afresh.
std::string MakeLargePage();

}  // namespace kestrum::bench
