// Writes the example pages into a folder: a PostScript front page with titles, body
// columns, vertical text, rules, boxes and a placed photo, and S2 pages of both
// header variants. Each page may come with a .options file holding the dump options.
#include "parser/Image.h"
#include "platform/Draw.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/S2Writer.h"

#include <cstdio>
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

bool WriteFrontPage(const std::string& folder) {
    PsPageWriter page;
    page.boundingBox(0, 0, 595, 842).resource("D:\\IMAGES\\flowers.jpg");

    page.article(1).translate(5000, 6000).titleBlock().font("JBHGDH", 2800).show(0, 0, kHeadline, Advances(kHeadline, 2800));
    page.paragraph().endArticle();

    // The body: enough lines that it stays a body column below the headline.
    page.article(4).translate(5000, 9000).font("JBHGSS", 920);
    for (int line = 0; line < 4; ++line) page.show(0, line * 1100, kBody1, Advances(kBody1, 920));
    page.show(0, 4400, kBody2, Advances(kBody2, 920)).paragraph();
    page.show(1840, 5500, kBody1, Advances(kBody1, 920)).paragraph();
    page.font("JBHGKT", 820).show(0, 6600, kByline, Advances(kByline, 820)).endArticle();

    page.article(2).translate(36000, 6000).rotatedFont("JBHGHT", 1800, 1800)
        .showVertical(0, 0, kVertical, Advances(kVertical, 1800)).endArticle();

    page.article(3).translate(5000, 1500).font("JBHGXH", 1200).show(0, 0, kSection, Advances(kSection, 1200)).endArticle();

    page.rule({5000, 2500}, {40000, 2500}, 40, PsInk::Cmyk(0, 1, 1, 0));
    page.box(5000, 16500, 20000, 600, PsInk::Grey(0.8));
    page.picture(15000, 26000, 20000, 15000, "D:\\IMAGES\\flowers.jpg");

    return page.write(folder + "/front-page.ps") && WritePhoto(folder + "/flowers.jpg") &&
           WriteText(folder + "/front-page.ps.options", "--image-folders " + folder + " --label A01\n");
}

bool WriteS2Pages(const std::string& folder) {
    S2Writer shortHeader;
    shortHeader.ShortHeader(4000, 12000).Op(0x8019).Op(0x8001, 500).Glyph(100, 0x3021).Op(0x80F3);
    S2Writer longHeader;
    longHeader.LongHeader(0xAABB, 0xE2B9, 3000, 5000, 100, 200).Op(0x8018);
    return WriteText(folder + "/short-header.s2", shortHeader.Data()) &&
           WriteText(folder + "/long-header.s2", longHeader.Data()) &&
           WriteText(folder + "/long-header.s2.options", "--group\n");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_examples FOLDER\n", stderr);
        return 1;
    }
    std::string folder = argv[1];
    if (!WriteFrontPage(folder) || !WriteS2Pages(folder)) {
        std::fprintf(stderr, "make_examples: cannot write the example pages into %s\n", folder.c_str());
        return 2;
    }
    return 0;
}
