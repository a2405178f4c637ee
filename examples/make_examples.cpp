// Writes the example pages into a folder: a PostScript front page with titles, body
// columns, vertical text, rules, boxes and a placed photo, and an S2 news page in
// both header variants, read one block per article and grouped into articles. Each
// page may come with a .options file holding the dump options.
#include "parser/Image.h"
#include "platform/Draw.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/S2Writer.h"

#include <cstdio>
#include <filesystem>
#include <iconv.h>
#include <fstream>
#include <string>
#include <vector>

namespace {

using kestrum::testing::PsInk;
using kestrum::testing::PsPageWriter;
using kestrum::testing::S2Writer;

// GBK texts of the front page.
const char* const kSection = "\xB3\xC7\xCA\xD0\xD0\xC2\xCE\xC5";  // 城市新闻
const char* const kHeadline = "\xB4\xBA\xBC\xBE\xBB\xA8\xD5\xB9\xBD\xF1\xC8\xD5\xBF\xAA\xC4\xBB";  // 春季花展今日开幕
// 本报讯市民公园的春季花展今天上午开幕，
const char* const kBody1 =
    "\xB1\xBE\xB1\xA8\xD1\xB6\xCA\xD0\xC3\xF1\xB9\xAB\xD4\xB0\xB5\xC4\xB4\xBA\xBC\xBE\xBB\xA8\xD5\xB9\xBD\xF1\xCC\xEC"
    "\xC9\xCF\xCE\xE7\xBF\xAA\xC4\xBB\xA3\xAC";
// 展出各类花卉１２０余种。(full-width digits)
const char* const kBody2 = "\xD5\xB9\xB3\xF6\xB8\xF7\xC0\xE0\xBB\xA8\xBB\xDC\xA3\xB1\xA3\xB2\xA3\xB0\xD3\xE0\xD6\xD6\xA1\xA3";
const char* const kByline = "\xBC\xC7\xD5\xDF\xCD\xF5\xC3\xF7";  // 记者王明
const char* const kVertical = "\xCA\xFA\xC5\xC5\xB1\xEA\xCC\xE2";  // 竖排标题

// The stories' text is kept readable here and carried as GBK, as the typesetting
// systems carry it.
std::string Gbk(std::string_view utf8) {
    std::string out(utf8.size() * 2, '\0');
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) return {};
    char* in = const_cast<char*>(utf8.data());
    size_t inLeft = utf8.size();
    char* o = out.data();
    size_t outLeft = out.size();
    const bool whole = iconv(cd, &in, &inLeft, &o, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    out.resize(whole ? out.size() - outLeft : 0);
    return out;
}

// One advance per character of a GBK text.
std::vector<double> Advances(const std::string& gbk, double advance) {
    std::vector<double> out;
    for (size_t i = 0; i < gbk.size(); i += static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1) out.push_back(advance);
    return out;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// A small photo for the front page: a sky over a field.
bool WritePhoto(const std::string& path) {
    kestrum::DrawBitmap bitmap(160, 120);
    kestrum::DrawContext dc(bitmap);
    dc.FillRect(kestrum::MakeRect(0, 0, 160, 70), kestrum::RgbColour(120, 170, 230));
    dc.FillRect(kestrum::MakeRect(0, 70, 160, 120), kestrum::RgbColour(80, 160, 60));
    kestrum::CxImage photo;
    return photo.CreateFromHBITMAP(bitmap) && photo.Save(path, kestrum::CXIMAGE_FORMAT_JPG);
}

std::vector<std::string> Lines(const std::string& gbk, size_t perLine);

// A second story below the photo: a title over two lines and two body columns of
// sentences; above it the caption under the photo.
void WriteSecondStory(PsPageWriter& page) {
    const std::string title[] = {Gbk("老城区改造工程启动"), Gbk("首批居民将于年底迁入新居")};
    page.article(3).translate(5000, 37000).titleBlock().font("JBHGDH", 2000);
    for (int line = 0; line < 2; ++line)
        page.show(0, line * 2400, title[line], Advances(title[line], 2000));
    page.paragraph().endArticle();
    const std::vector<std::string> lines = Lines(
        Gbk("本报讯记者李华报道：市政府昨日宣布，老城区改造工程正式启动。工程涉及十二条街巷，"
            "将修缮传统民居三百余栋，新建社区活动中心两座。负责人表示，施工期间将尽量减少对居民生活的影响，"
            "主要道路保持通行。首批安置房已经完工，居民预计于年底前迁入新居。"),
        16);
    page.article(3).translate(5000, 42500).font("JBHGSS", 920);
    for (size_t i = 0; i < lines.size(); ++i) {
        const double column = i < (lines.size() + 1) / 2 ? 0 : 16000;
        const size_t row = i < (lines.size() + 1) / 2 ? i : i - (lines.size() + 1) / 2;
        page.show(column, row * 1100, lines[i], Advances(lines[i], 920));
    }
    page.paragraph().endArticle();
    const std::string caption = Gbk("市民在公园花展上观赏郁金香。");
    page.article(4).translate(5000, 34500).font("JBHGKT", 820).show(0, 0, caption, Advances(caption, 820)).endArticle();
    page.frame(4800, 36800, 32000, 10500, 20, PsInk::Grey(0.5));
}

// A bar chart placed beside the second story as an embedded EPS document, as page
// make-up programs place their graphics: the reader draws it into a preview picture.
void WriteChart(PsPageWriter& page) {
    PsPageWriter chart;
    chart.boundingBox(0, 0, 116, 87);
    chart.frame(400, 400, 11200, 8200, 20, PsInk::Grey(0.3));
    const double heights[] = {3000, 5200, 4100, 6900};
    for (int i = 0; i < 4; ++i)
        chart.box(1400 + i * 2500, 7800 - heights[i], 1600, heights[i], PsInk::Cmyk(i % 2 ? 0 : 0.8, 0.3, i % 2 ? 0.9 : 0, 0));
    page.rectClip(40000, 37500, 12000, 9000)
        .embeddedDocument("D:\\GRAPHICS\\visitors.eps", 46000, 42000, 12000, 9000, chart.bytes());
}

bool WriteFrontPage(const std::string& folder) {
    PsPageWriter page;
    page.boundingBox(0, 0, 595, 842).resource("D:\\IMAGES\\flowers.jpg");

    page.article(1).translate(5000, 6000).titleBlock().font("JBHGDH", 2800).show(0, 0, kHeadline, Advances(kHeadline, 2800));
    page.paragraph().endArticle();

    // The headline's story: enough lines that they stay a body column below it.
    page.article(1).translate(5000, 9000).font("JBHGSS", 920);
    for (int line = 0; line < 4; ++line) page.show(0, line * 1100, kBody1, Advances(kBody1, 920));
    page.show(0, 4400, kBody2, Advances(kBody2, 920)).paragraph();
    page.show(1840, 5500, kBody1, Advances(kBody1, 920)).paragraph();
    page.font("JBHGKT", 820).show(0, 6600, kByline, Advances(kByline, 820)).endArticle();

    // A story set vertically: its title column, and its text in two columns left of it.
    page.article(2).translate(36000, 6000).rotatedFont("JBHGHT", 1800, 1800)
        .showVertical(0, 0, kVertical, Advances(kVertical, 1800)).endArticle();
    page.article(2).translate(31000, 6000).rotatedFont("JBHGSS", 920, 920)
        .showVertical(2200, 0, kBody2, Advances(kBody2, 920)).showVertical(1100, 0, kBody2, Advances(kBody2, 920))
        .endArticle();

    // The section name heads the page, outside any story.
    page.article(-1).translate(5000, 1500).font("JBHGXH", 1200).show(0, 0, kSection, Advances(kSection, 1200)).endArticle();

    page.rule({5000, 2500}, {40000, 2500}, 40, PsInk::Cmyk(0, 1, 1, 0));
    page.box(5000, 16500, 20000, 600, PsInk::Grey(0.8));
    page.picture(15000, 26000, 20000, 15000, "D:\\IMAGES\\flowers.jpg");
    WriteSecondStory(page);
    WriteChart(page);

    return page.write(folder + "/front-page.ps") && WritePhoto(folder + "/flowers.jpg") &&
           WriteText(folder + "/front-page.ps.options", "--image-folders " + folder + " --label A01\n");
}

// The GBK text cut into lines of `perLine` characters.
std::vector<std::string> Lines(const std::string& gbk, size_t perLine) {
    std::vector<std::string> lines(1);
    size_t count = 0;
    for (size_t i = 0; i < gbk.size();) {
        const size_t n = static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1;
        if (count == perLine) {
            lines.emplace_back();
            count = 0;
        }
        lines.back() += gbk.substr(i, n);
        i += n;
        ++count;
    }
    return lines;
}

// An S2 news page: a masthead over a rule, an article with a two-line title over two
// columns and a captioned photo between them, a second article beside it behind a
// column rule, a vertical story at the right edge, and a footer line.
S2Writer NewsPage(S2Writer page) {
    std::string body;
    for (int i = 0; i < 14; ++i) body += std::string(kBody1) + kBody2;  // a column reaching below the photo
    page.TextBlock(500, 100, 10, {kSection})                    // masthead, 202 units
        .TextBlock(1000, 900, 8, {kByline})                     // lead title, 152
        .TextBlock(1000, 1150, 14, {std::string(kHeadline) + kVertical})  // main title, 352
        .TextBlock(1000, 1700, 5, Lines(body, 16))              // first column, 100
        .TextBlock(2800, 1700, 5, Lines(kBody2, 16))            // second column, short
        .Picture(2800, 3200, 1600, 1600, "flowers")
        .TextBlock(2800, 4850, 4, {kByline})                    // caption under the photo, 86
        .TextBlock(5500, 900, 11, {kHeadline})                  // second article's title, 232
        .TextBlock(5500, 1300, 5, Lines(std::string(kBody2) + kBody1, 16))
        .VerticalTextBlock(9600, 900, 8, {kVertical})           // a vertical title at the right edge
        .VerticalTextBlock(9300, 900, 5, Lines(kBody2, 16), 120)  // its text in columns leftwards
        .Rule(0x8006, 500, 380, 9500, 380)                      // the rule under the masthead
        .Rule(0x8007, 5300, 900, 5300, 4800);                   // the column rule between the articles
    // The footer: one line across the page, in wide cells of body height.
    page.Horizontal().SizeNumberBytes(9, 5).SetLine(13500).Text(100, 176, "Page 1 * City News * Thursday 10 December 2026 * kestrum");
    page.EndItem();
    return page;
}

bool WriteS2Pages(const std::string& folder) {
    return WriteText(folder + "/news-page.s2", NewsPage(S2Writer().ShortHeader(10000, 14000)).Data()) &&
           WriteText(folder + "/news-page.s2.options", "--image-folders " + folder + "\n") &&
           WriteText(folder + "/news-page-grouped.s2",
                     NewsPage(S2Writer().LongHeader(0xAABB, 0xE2B9, 10000, 14000)).Data()) &&
           WriteText(folder + "/news-page-grouped.s2.options", "--group --image-folders " + folder + "\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_examples FOLDER\n", stderr);
        return 1;
    }
    std::string folder = argv[1];
    std::error_code ignored;  // a folder that cannot be made fails at the first page below
    std::filesystem::create_directories(folder, ignored);
    if (!WriteFrontPage(folder) || !WriteS2Pages(folder)) {
        std::fprintf(stderr, "make_examples: cannot write the example pages into %s\n", folder.c_str());
        return 2;
    }
    return 0;
}
