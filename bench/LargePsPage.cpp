#include "bench/LargePsPage.h"

#include "platform/Files.h"
#include "tests/support/PsPageWriter.h"

#include <vector>

namespace kestrum::bench {

namespace {

using testing::PsInk;
using testing::PsPageWriter;

constexpr size_t kTargetBytes = size_t{8} << 20;  // about 8 MB of page

// GBK characters 啊阿埃挨哎唉哀皑癌蔼 repeated: a body line of `count` characters.
std::string BodyText(size_t count, size_t seed) {
    static const char* kChars[] = {"\xB0\xA1", "\xB0\xA2", "\xB0\xA3", "\xB0\xA4", "\xB0\xA5",
                                   "\xB0\xA6", "\xB0\xA7", "\xB0\xA8", "\xB0\xA9", "\xB0\xAA"};
    std::string s;
    for (size_t i = 0; i < count; ++i) s += kChars[(seed + i) % 10];
    return s;
}

}  // namespace

// Articles of a title and three body columns of paragraphs, with rules, a box and a
// picture each, until the page holds the target size.
std::string MakeLargePage() {
    PsPageWriter page;
    const std::vector<double> bodyAdvances(22, 920);
    const std::vector<double> titleAdvances(12, 2400);
    size_t size = 0;
    for (int article = 1; size < kTargetBytes; ++article) {
        page.article(article).translate(1000 + article % 7 * 100, 2000 + article % 11 * 100);
        page.font("JBHGHT", 2400).show(0, 2400, BodyText(12, article), titleAdvances).paragraph();
        for (int column = 0; column < 3; ++column) {
            page.font("JBHGSS", 920).textColour(0, 0, 0, 1);
            for (int line = 0; line < 40; ++line) {
                page.show(column * 21000, 5000 + line * 1100, BodyText(22, line), bodyAdvances);
                if (line % 8 == 7) page.paragraph();
            }
        }
        page.box(0, 0, 63000, 300, PsInk::Cmyk(0.2, 0, 0, 0)).endArticle();
        page.rule({0, 50000}, {63000, 50000}, 20, PsInk::Grey(0));
        page.picture(30000, 60000, 20000, 15000, "D:\\IMAGES\\P" + std::to_string(article) + ".TIF");
        if (article % 16 == 0) size = page.bytes().size();
    }
    return page.bytes();
}

LargePage::LargePage() : path(dir.Write("large.ps", MakeLargePage())) { ReadWholeFile(path, bytes); }

const LargePage& Page() {
    static LargePage page;
    return page;
}

}  // namespace kestrum::bench
