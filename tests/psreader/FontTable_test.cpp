// Display names of the typesetting system's font names.
#include "psreader/FontTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrum {
namespace {

TEST(PsFonts, MapsPostScriptNamesToDisplayNames) {
    const char* kaiTi = "\xC7\xE0\xC4\xF1\xBB\xAA\xB9\xE2\xBF\xAC\xCC\xE5";      // 青鸟华光楷体
    const char* jianBaoSong = "\xC7\xE0\xC4\xF1\xBB\xAA\xB9\xE2\xBC\xF2\xB1\xA8\xCB\xCE";  // 青鸟华光简报宋
    const char* baoSong = "\xC7\xE0\xC4\xF1\xBB\xAA\xB9\xE2\xB1\xA8\xCB\xCE";     // 青鸟华光报宋
    const char* symbols1 = "\xBB\xAA\xB9\xE2\xC5\xC5\xB0\xE6\xB7\xFB\xBA\xC5\xBF\xE2\xA3\xB1";  // 华光排版符号库１
    const char* kaiTiGb = "\xBF\xAC\xCC\xE5_GB2312";                             // 楷体_GB2312
    struct Case {
        const char* name;
        const char* display;
    };
    const std::vector<Case> cases = {
        {"JBHGKT", kaiTi},         {"X-JBHGKT", kaiTi},         {"JBHGX-KT", kaiTi},
        {"jbhgbs", kDefaultDisplayFont}, {"JBS", jianBaoSong},  {"NJBS", jianBaoSong},
        {"JBHGBS", baoSong},       {"JBHGBS2", baoSong},        {"PBFH1", symbols1},
        {"SimSun", kDefaultDisplayFont}, {"Unknown", kDefaultDisplayFont}, {"", kDefaultDisplayFont},
        {"KaiTi_GB2312", kaiTiGb},
    };
    for (const Case& c : cases) EXPECT_EQ(MapFontName(c.name), c.display) << c.name;
    EXPECT_NE(MapFontName("PBFH2").find("\xC5\xC5\xB0\xE6\xB7\xFB\xBA\xC5"), std::string::npos);  // 排版符号
}

}  // namespace
}  // namespace kestrum
