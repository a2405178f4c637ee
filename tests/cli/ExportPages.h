// The pages the export tests read: a PostScript page with a headline, a body column
// whose text holds XML's special characters, and a placed photo; an S2 page of two
// stories with a captioned photo, read with article grouping.
#pragma once

#include "tests/support/PsPageWriter.h"
#include "tests/support/S2Writer.h"
#include "tests/support/TempDir.h"

#include <string>
#include <vector>

namespace kestrum::testing {

inline std::vector<double> EvenAdvances(size_t count, double advance) { return std::vector<double>(count, advance); }

// 春季花展 as the headline; the body mixes GBK with "a&b <c> ]]>".
inline std::string WritePsExportPage(const TempDir& dir, const std::string& name = "page.ps") {
    const std::string headline = "\xB4\xBA\xBC\xBE\xBB\xA8\xD5\xB9";
    const std::string body = "\xB1\xBE\xB1\xA8 a&b <c> ]]> \xB1\xBE\xB1\xA8";
    PsPageWriter page;
    page.article(1).translate(5000, 6000).titleBlock().font("JBHGDH", 2800).show(0, 0, headline, EvenAdvances(4, 2800));
    page.paragraph().endArticle();
    page.article(2).translate(5000, 9000).font("JBHGSS", 920);
    for (int line = 0; line < 4; ++line) page.show(0, line * 1100, body, EvenAdvances(17, 920));
    page.endArticle();
    page.picture(15000, 26000, 20000, 15000, "D:\\IMAGES\\photo.jpg");
    std::string path = dir.File(name);
    page.write(path);
    return path;
}

inline std::string WriteS2ExportPage(const TempDir& dir) {
    const std::string title = "\xB0\xA1\xB0\xA2\xB0\xA3";  // 啊阿埃
    const std::string line = "\xB0\xA4\xB0\xA5\xB0\xA6\xB0\xA7";
    S2Writer page;
    page.ShortHeader(10000, 14000)
        .TextBlock(1000, 1000, 12, {title})
        .TextBlock(1000, 1700, 5, {line, line, line, line})
        .TextBlock(2800, 1700, 5, {line, line})
        .Picture(2800, 3200, 1600, 1600, "PHOTO")
        .TextBlock(2800, 4850, 4, {line})
        .TextBlock(5500, 900, 11, {title})
        .TextBlock(5500, 1300, 5, {line, line, line});
    return dir.Write("news.s2", page.Data());
}

}  // namespace kestrum::testing
