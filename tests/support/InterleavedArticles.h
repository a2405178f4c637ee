// A PostScript page whose three stories are set in turns, as the typesetting system
// writes a page whose columns it fills one after another: the headlines of stories 1
// and 2, the body of story 1, the headline of story 3, the body of story 2, a folio
// outside any story, the body of story 3, and a placed photo.
#pragma once

#include "tests/support/PsPageWriter.h"

#include <string>
#include <vector>

namespace kestrum::testing {

struct InterleavedStory {
    int number;
    const char* headline;  // GBK
    const char* body;      // ASCII, so that tests find it in any output
    double left, top;      // page units
};

inline const InterleavedStory kInterleavedStories[] = {
    {1, "\xB4\xBA\xBC\xBE", "first story text", 5000, 6000},    // 春季
    {2, "\xBB\xA8\xD5\xB9", "second story text", 30000, 6000},  // 花展
    {3, "\xBD\xF1\xC8\xD5", "third story text", 5000, 40000},   // 今日
};
inline const char* const kInterleavedFolio = "folio outside";

inline std::vector<double> InterleavedAdvances(size_t count, double advance) { return std::vector<double>(count, advance); }

inline std::string InterleavedArticlesPage() {
    PsPageWriter page;
    auto headline = [&](const InterleavedStory& s) {
        page.article(s.number).translate(s.left, s.top).titleBlock().font("JBHGDH", 2800);
        page.show(0, 0, s.headline, InterleavedAdvances(2, 2800)).paragraph().endArticle();
    };
    auto body = [&](const InterleavedStory& s) {
        page.article(s.number).translate(s.left, s.top + 4000).font("JBHGSS", 920);
        for (int line = 0; line < 3; ++line) page.show(0, line * 1100, s.body, InterleavedAdvances(17, 460));
        page.endArticle();
    };
    const auto& [one, two, three] = kInterleavedStories;
    headline(one);
    headline(two);
    body(one);
    headline(three);
    body(two);
    page.article(-1).translate(5000, 60000).font("JBHGSS", 920);
    page.show(0, 0, kInterleavedFolio, InterleavedAdvances(13, 460)).endArticle();
    body(three);
    page.picture(30000, 50000, 10000, 8000, "D:\\IMAGES\\photo.jpg");
    return page.bytes();
}

}  // namespace kestrum::testing
