// Writes the fuzzers' seed pages into FOLDER/ps, FOLDER/s2, FOLDER/lines and FOLDER/eps
// (documents to embed in a page): small
// pages that together reach every marker of the PostScript dialect and every S2
// operation, so that fuzzing starts from inputs the readers understand.
#include "tests/support/PsPageWriter.h"
#include "tests/support/S2Writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using kestrum::testing::PsInk;
using kestrum::testing::PsPageWriter;
using kestrum::testing::S2Writer;

constexpr const char* kText = "\xB0\xA1\xB0\xA2" "Ab1";  // 啊阿Ab1

bool Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    return static_cast<bool>(out);
}

std::vector<PsPageWriter> PsPages() {
    std::vector<PsPageWriter> pages(10);
    const std::vector<double> advances(5, 900);
    pages[0].article(1).translate(1000, 2000).font("JBHGSS", 920).show(0, 0, kText, advances).endArticle();
    pages[1].article(2).titleBlock().font("JBHGDH", 2800).show(0, 0, kText, advances).paragraph().endArticle();
    pages[2].article(3).rotatedFont("JBS2", 900, 900).showVertical(0, 0, kText, advances).endArticle();
    pages[3].article(4).font("JFS2", 900).textColour(0, 0, 0, 1).showHex(0, 0, kText, advances)
        .define("\xB0\xA3", 100, 200).separation("/Cyan", 0.5).scale(2, 2).endArticle();
    pages[4].box(0, 0, 100, 100, PsInk::Cmyk(0.1, 0.2, 0.3, 0.4)).frame(0, 0, 50, 50, 2, PsInk::Grey(0.5))
        .rule({0, 0}, {500, 0}, 3);
    pages[5].brokenLine({{0, 0}, {10, 10}, {20, 0}}, 1, PsInk::Grey(0), true).path({{0, 0}, {5, 0}, {5, 5}})
        .curve({0, 0}, {{1, 1}, {2, 2}, {3, 3}});
    pages[6].resource("D:\\IMAGES\\a.jpg").picture(3000, 3000, 2000, 1500, "D:\\IMAGES\\a.jpg", 30);
    pages[7].clippedPicture(0, 0, 100, 100, 50, 50, 200, 200, "b.tif").ovalPicture(0, 0, 10, 10, 5, 5, 10, 10, "c.gif");
    pages[8].article(5).article(6).translate(-10, 5).font("XXX", 500).show(0, 0, kText, advances).endArticle()
        .endArticle().pictureMessage("d.bmp");
    pages[9].withoutBoundingBox().withoutPageEnd().line("%%BeginDocument: x.eps").line("%!PS-Adobe-3.0");
    return pages;
}

// Documents to embed: pages of the dialect themselves, one holding another.
std::vector<std::string> EpsDocuments() {
    PsPageWriter plain;
    plain.boundingBox(0, 0, 72, 36).box(1484, 742, 4452, 2226, PsInk::Cmyk(0, 1, 1, 0));
    PsPageWriter drawn;
    drawn.boundingBox(0, 0, 50, 50).article(1).font("JBHGSS", 920).show(0, 1000, kText, {900, 900, 900, 900, 900})
        .endArticle().rule({0, 0}, {3000, 3000}, 2);
    PsPageWriter nesting;
    nesting.boundingBox(0, 0, 72, 36).eoClip({{0, 0}, {3000, 0}, {3000, 3000}}).embeddedDocument("inner.eps", 3710, 1855, 7420, 3710, plain.bytes());
    // Small ones: the setup end before byte 40000 renders empty, but quickly.
    PsPageWriter small;
    small.boundingBox(0, 0, 30, 30).setupEndOffset(0).box(0, 0, 1000, 1000);
    PsPageWriter smallNesting;
    smallNesting.boundingBox(0, 0, 30, 30).setupEndOffset(0).rectClip(0, 0, 100, 100)
        .embeddedDocument("a.eps", 50, 50, 100, 100, small.bytes()).embeddedDocument("b.eps", 50, 50, 100, 100, "x", false);
    return {plain.bytes(), drawn.bytes(), nesting.bytes(), small.bytes(), smallNesting.bytes()};
}

std::vector<S2Writer> S2Pages() {
    std::vector<S2Writer> pages;
    pages.emplace_back().ShortHeader(10000, 14000).TextBlock(1000, 1000, 12, {kText}).TextBlock(1000, 1500, 5, {kText, kText})
        .Picture(5000, 3000, 2000, 1500, "PIC1").TextBlock(5000, 4550, 4, {kText});
    pages.emplace_back().LongHeader(0xAABB, 0xE2B9, 10000, 14000).VerticalTextBlock(8000, 1000, 5, {kText, kText})
        .Picture(100, 100, 50, 50, "D:\\pics\\photo.tif", 0x808A, 2, true);
    pages.emplace_back().LongHeader(0x1E4D, 0x0C37, 3000, 3000).SizeNumberBytes(5, 3).WidthQuarters(42)
        .HeightQuarters(-6).SetLine(10).Link().Glyph(1, 0xA10D).Space().LineBreak().Glyph(2, 0x9FF5).EndItem(0x80F7);
    pages.emplace_back().ShortHeader(3000, 3000).PushOrigin(5, -5).PopOrigin().Op(0x8020).Word(0).Word(0).Op(0x80F0)
        .Word(0).Word(0).Word(0).Word(0).Word(0).Rule(0x8006, 1, 2, 3, 2, {0xFFFF, 0, 0xC000, 0})
        .Rule(0x8008, 1, 2, 3, 4, {0, 0, 0xFFFD, 0}).Op(0xFFFE).Rule(0x8011, 5, 2, 5, 9, {0xC001, 0});
    pages.emplace_back().ShortHeader(20000, 20000).TextBlock(100, 100, 10, {kText}).TextBlock(100, 19500, 5, {kText})
        .Picture(10, 20, 30, 40, "EXTENDED", 0x809A, 1).PictureLongCount(1, 2, 3, 4, -2, "AB");
    return pages;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_fuzz_seeds FOLDER\n", stderr);
        return 1;
    }
    const std::string folder = argv[1];
    for (const char* sub : {"/ps", "/s2", "/lines", "/eps"}) std::filesystem::create_directories(folder + sub);
    bool ok = true;
    const std::vector<PsPageWriter> ps = PsPages();
    for (size_t i = 0; i < ps.size(); ++i) ok = ok && Write(folder + "/ps/" + std::to_string(i) + ".ps", ps[i].bytes());
    const std::vector<std::string> eps = EpsDocuments();
    for (size_t i = 0; i < eps.size(); ++i) ok = ok && Write(folder + "/eps/" + std::to_string(i) + ".eps", eps[i]);
    const std::vector<S2Writer> s2 = S2Pages();
    for (size_t i = 0; i < s2.size(); ++i) {
        ok = ok && Write(folder + "/s2/" + std::to_string(i) + ".s2", s2[i].Data());
        // Each page once more with the last byte odd: grouped.
        ok = ok && Write(folder + "/s2/" + std::to_string(i) + "-grouped.s2", s2[i].Data() + "\x01");
    }
    const std::vector<std::string> lines = {
        "1000 2000 m 3000 4000 l st", "(\xB0\xA1\\(x\\)) show", "<B0A1B0A2> show", "[1 0 0 1 -100 200] concat",
        "/JBHGSS findfont [920 0 0 -920 0 0] makefont setfont", "0 0 0 1 sc 10 20 30 40 rectfill",
    };
    for (size_t i = 0; i < lines.size(); ++i) ok = ok && Write(folder + "/lines/" + std::to_string(i), lines[i]);
    if (!ok) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write into %s\n", folder.c_str());
        return 2;
    }
    return 0;
}
