// S2 pages written word by word, loaded through the component's class object and read
// back the way a host reads them: every block in an article of its own.
#include <kestrum/kestrum.h>

#include "platform/Files.h"
#include "s2reader/S2Parser.h"
#include "tests/parser/ImageTestFiles.h"
#include "tests/support/S2HostPage.h"
#include "tests/support/S2Writer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace kestrum {
namespace {

using testing::S2HostPage;
using testing::S2Writer;
using testing::Sides;

constexpr const char* kTitle = "\xB0\xA1\xB0\xA2\xB0\xA3";  // 啊阿埃
constexpr const char* kLine1 = "\xB0\xA4\xB0\xA5";          // 挨哎
constexpr const char* kLine2 = "\xB0\xA6\xB0\xA7";          // 唉哀

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::tuple<LONG, LONG, LONG, LONG> RectOf(ITextBlock* block) { return Sides(S2HostPage::Rect(*block)); }

// A horizontal page: a title line over two body columns, and a picture whose file is
// in the host's folder.
TEST(S2Page, EveryBlockComesAsAnArticleOfItsOwn) {
    S2Writer page;
    page.ShortHeader(10000, 14000)
        .TextBlock(1000, 1000, 12, {kTitle})          // size 266: a title
        .TextBlock(1000, 2000, 5, {kLine1, kLine2})   // size 100, lines 125 apart
        .TextBlock(4000, 2000, 5, {kLine2, kLine1})
        .Picture(6000, 3000, 2000, 1500, "PIC1");
    testing::TempDir pictures;
    WriteJpeg(pictures.File("pic1.jpg"), 8, 6, testing::Cells);
    S2HostPage host(page.Data(), false, pictures.Path());

    EXPECT_EQ(host.TextCount(), 0);
    EXPECT_EQ(host.PicCount(), 0);
    ASSERT_EQ(host.ArticleCount(), 4);
    const std::vector<IArticle*> articles = host.Articles();
    for (LONG i = 0; i < 4; ++i) EXPECT_EQ(articles[i]->GetID(), 0x10000 + i);

    ITextBlock* title = S2HostPage::Role(*articles[0], KESTRUM_PART_BODY);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(S2HostPage::Role(*articles[0], KESTRUM_PART_MAIN_TITLE), nullptr);
    EXPECT_EQ(S2HostPage::Text(title), kTitle);
    EXPECT_EQ(title->GetKind(), 2);
    EXPECT_EQ(title->GetFontSize(), 266.0);
    EXPECT_EQ(title->GetLayout(), 1);
    EXPECT_EQ(title->GetID(), 0);
    EXPECT_EQ(title->GetLevel(), 1);
    EXPECT_EQ(RectOf(title), std::make_tuple(1000, 1000, 1000 + 3 * 266, 1266));

    ITextBlock* column = S2HostPage::Role(*articles[1], KESTRUM_PART_BODY);
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(S2HostPage::Text(column), std::string(kLine1) + kLine2);
    EXPECT_EQ(column->GetKind(), 3);
    EXPECT_EQ(column->GetFontSize(), 100.0);
    EXPECT_EQ(column->GetTextLength(), 8);
    EXPECT_EQ(RectOf(column), std::make_tuple(1000, 2000, 1200, 2225));
    BSTR none = nullptr;
    EXPECT_EQ(column->GetHtml(&none), E_FAIL);
    BSTR font = nullptr;
    EXPECT_EQ(column->GetFontName(&font), S_OK);
    EXPECT_EQ(testing::TakeBstr(font), "");
    EXPECT_EQ(articles[1]->GetHtml(&none), E_FAIL);  // S2 text has no HTML to frame

    const std::vector<IPicBlock*> pics = S2HostPage::Pictures(*articles[3]);
    ASSERT_EQ(pics.size(), 1u);
    EXPECT_EQ(S2HostPage::Role(*articles[3], KESTRUM_PART_ALL), nullptr);
    BSTR name = nullptr, path = nullptr;
    ASSERT_EQ(pics[0]->GetName(&name), S_OK);
    EXPECT_EQ(testing::TakeBstr(name), "PIC1");
    ASSERT_EQ(pics[0]->GetImagePath(&path), S_OK);
    EXPECT_EQ(testing::TakeBstr(path), pictures.File("pic1.jpg"));
    EXPECT_EQ(pics[0]->GetImageWidth(), 8);
    RECT r{};
    pics[0]->GetRect(&r);
    EXPECT_EQ(Sides(r), std::make_tuple(6000, 3000, 8000, 4500));

    EXPECT_DOUBLE_EQ(host.Page().GetMeanTextSize(), (3 * 266.0 + 8 * 100.0) / 11);
}

// The texts of a page's articles, in article order.
std::vector<std::string> Texts(const S2HostPage& host) {
    std::vector<std::string> texts;
    for (IArticle* article : host.Articles()) {
        if (ITextBlock* body = S2HostPage::Role(*article, KESTRUM_PART_BODY)) texts.push_back(S2HostPage::Text(body));
    }
    return texts;
}

TEST(S2Page, VerticalColumnsAndSingleColumns) {
    S2Writer page;
    page.ShortHeader(10000, 14000)
        .VerticalTextBlock(8000, 1000, 5, {kLine1, kLine2})  // columns at x 8000 and 7875
        .Vertical().SizeNumbers(7, 5).SetLine(3000).Text(1000, 100, kTitle).EndItem();  // one column, width 134
    S2HostPage host(page.Data());
    ASSERT_EQ(host.ArticleCount(), 2);
    ITextBlock* columns = S2HostPage::Role(host.Article(0), KESTRUM_PART_BODY);
    EXPECT_EQ(columns->GetLayout(), 4);
    EXPECT_EQ(columns->GetFontSize(), 100.0);
    EXPECT_EQ(RectOf(columns), std::make_tuple(7875, 1000, 8100, 1200));
    ITextBlock* single = S2HostPage::Role(host.Article(1), KESTRUM_PART_BODY);
    EXPECT_EQ(single->GetLayout(), 5);
    EXPECT_EQ(single->GetFontSize(), 134.0);  // a single column is measured across
    EXPECT_EQ(single->GetKind(), 3);          // by its mean height, 100
    EXPECT_EQ(RectOf(single), std::make_tuple(3000, 1000, 3134, 1300));
}

struct SizeCase {
    const char* name;
    S2Writer ops;
    std::tuple<LONG, LONG, LONG, LONG> rect;  // of one glyph at 100 on line 1000
};

TEST(S2Page, GlyphSizeOperations) {
    const std::vector<SizeCase> cases = {
        {"size numbers", S2Writer().SizeNumbers(5, 5), {100, 1000, 200, 1100}},
        {"number bytes round the width up to 16", S2Writer().SizeNumberBytes(5, 3), {100, 1000, 212, 1076}},
        {"number bytes beyond the table change nothing", S2Writer().SizeNumbers(5, 5).SizeNumberBytes(22, 3),
         {100, 1000, 200, 1100}},
        {"size numbers beyond the table change nothing", S2Writer().SizeNumbers(5, 5).SizeNumbers(22, 3),
         {100, 1000, 200, 1100}},
        {"quarter units", S2Writer().WidthQuarters(42).HeightQuarters(43), {100, 1000, 212, 1102}},
        {"negative quarter units", S2Writer().WidthQuarters(-6).HeightQuarters(-6), {100, 1000, 100, 990}},
    };
    for (const SizeCase& c : cases) {
        S2Writer page;
        page.ShortHeader(4000, 4000).Bytes(c.ops.Data()).SetLine(1000).Glyph(100, 0xB0A1);
        S2HostPage host(page.Data());
        ASSERT_EQ(host.ArticleCount(), 1) << c.name;
        EXPECT_EQ(RectOf(S2HostPage::Role(host.Article(0), KESTRUM_PART_BODY)), c.rect) << c.name;
    }
}

struct SplitCase {
    const char* name;
    S2Writer stream;
    std::vector<std::string> texts;
};

TEST(S2Page, ItemsSplitOnLineJumpsAndSizeChanges) {
    const std::vector<SplitCase> cases = {
        {"lines 1200 apart", S2Writer().SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').SetLine(2200).Glyph(100, 'b'),
         {"a", "b"}},
        {"lines 900 apart", S2Writer().SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').SetLine(1900).Glyph(100, 'b'),
         {"ab"}},
        {"a line at a negative position always jumps",
         S2Writer().SizeNumbers(5, 5).SetLine(-5).Glyph(100, 'a').SetLine(-3).Glyph(100, 'b'), {"a", "b"}},
        {"a linked item does not split",
         S2Writer().SizeNumbers(5, 5).SetLine(1000).Link().Glyph(100, 'a').SetLine(9000).Glyph(100, 'b'), {"ab"}},
        {"size 100 to 174 splits",
         S2Writer().SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').SizeNumbers(9, 9).Glyph(200, 'b'), {"a", "b"}},
        {"size 100 to 152 does not",
         S2Writer().SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').SizeNumbers(8, 8).Glyph(200, 'b'), {"ab"}},
        {"the first size after an end never splits",
         S2Writer().SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').EndItem().SetLine(1000).Glyph(100, 'b')
             .SizeNumbers(9, 9).Glyph(200, 'c').SizeNumbers(5, 5).Glyph(300, 'd'),
         {"a", "bc", "d"}},
        {"vertical writing splits on the width only",
         S2Writer().Vertical().SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').SizeNumbers(5, 9).Glyph(200, 'b')
             .SizeNumbers(9, 9).Glyph(300, 'c'),
         {"ab", "c"}},
        {"spaces and line breaks between glyphs",
         S2Writer().SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').Space().Glyph(200, 'b').LineBreak().Glyph(300, 'c'),
         {"a b\r\nc"}},
        {"an item without glyphs gives no block and leaves no text behind",
         S2Writer().SetLine(1000).Space().LineBreak().EndItem().SetLine(1000).Glyph(100, 'x'), {"x"}},
        {"glyphs of code 0 only give no block",
         S2Writer().SizeNumbers(5, 5).SetLine(1000).Glyph(100, 0).Glyph(200, 0).EndItem().SetLine(1000).Glyph(1, 'y'),
         {"y"}},
        {"glyphs and text before any item are ignored",
         S2Writer().Glyph(100, 'a').Space().LineBreak().EndItem().SetLine(1000).Glyph(100, 'b'), {"b"}},
        {"end item by the other code", S2Writer().SetLine(1000).Glyph(100, 'a').EndItem(0x80F7).SetLine(1000).Glyph(1, 'b'),
         {"a", "b"}},
        {"origin pushes, pops and skipped operations take their operand words",
         S2Writer().SetLine(1000).Glyph(100, 'a').PushOrigin(0x0062, 0).PopOrigin().Op(0x8020).Glyph(0, 'x')
             .Glyph(0, 'x').Op(0x80F0).Glyph(0, 'x').Glyph(0, 'x').Glyph(0, 'x').Glyph(0, 'x').Glyph(0, 'x')
             .Op(0x8005).Op(0x80FF).Op(0xFFFF).Glyph(200, 'b'),
         {"ab"}},
    };
    for (const SplitCase& c : cases) {
        S2Writer page;
        page.ShortHeader(10000, 10000).Bytes(c.stream.Data());
        S2HostPage host(page.Data());
        EXPECT_EQ(Texts(host), c.texts) << c.name;
    }
}

struct CodeCase {
    const char* name;
    std::vector<uint16_t> codes;
    std::string text;
};

TEST(S2Page, CharacterCodesBecomeGb2312Text) {
    const std::vector<CodeCase> cases = {
        {"Chinese characters stay", {0xB0A1, 0xD7F9}, "\xB0\xA1\xD7\xF9"},
        {"replacement rows", {0xA6E8, 0xA6EB, 0xA080, 0xA3A2}, "\xA1\xAE\xA1\xB1\xA1\xA4\xA1\xB1"},
        {"ranges map linearly", {0xA0BB, 0xA0A5, 0xA6E7, 0xA39F, 0xA3A0}, "\xA3\xBB\xA3\xA5\xA1\xB7\xA3\xA8\xA3\xA9"},
        {"styled digits and letters fold to ASCII", {0xA10D, 0xA116, 0xA175, 0xA0C1, 0xA0E1, 0xA3C1, 0xA3FA}, "099AaAz"},
        {"punctuation after Latin text folds", {'a', 0xA3AC, 0xA10B, 0xA3BA, 0xA3AF, 0xA3C0, 0xA27C}, "a,.:/@~"},
        {"punctuation at the start stays full width", {0xA3AC, 'a'}, "\xA3\xAC" "a"},
        {"punctuation after a Chinese character stays full width", {0xB0A1, 0xA3AC}, "\xB0\xA1\xA3\xAC"},
        {"codes that become ASCII", {'x', 0xA8CE, 0xA8C4, 0xA8E5, 0x0041, 0x001B}, "x\n!A"},
        {"a high byte of 0x80 comes alone", {0x8041}, "\x80"},
        // Two of them, so that the host's wide text holds the lead bytes as one character.
        {"a blank after a lead byte is dropped", {0x8120, 0x8120}, "\x81\x81"},
        {"slash and space", {0x9FF5}, "/ "},
    };
    for (const CodeCase& c : cases) {
        S2Writer page;
        page.ShortHeader(4000, 4000).SizeNumbers(5, 5).SetLine(1000);
        uint16_t x = 0;
        for (uint16_t code : c.codes) page.Glyph(x += 100, code);
        S2HostPage host(page.Data());
        EXPECT_EQ(Texts(host), std::vector<std::string>{c.text}) << c.name;
    }
}

TEST(S2Page, BothHeaderVariantsReadTheSameStream) {
    S2Writer stream;
    stream.SizeNumbers(5, 5).SetLine(1000).Text(100, 100, kLine1);
    const std::vector<S2Writer> pages = {
        S2Writer().ShortHeader(3000, 4000).Bytes(stream.Data()),
        S2Writer().LongHeader(0xAABB, 0xE2B9, 3000, 4000, 100, 200).Bytes(stream.Data()),
        S2Writer().LongHeader(0x1E4D, 0x0C37, 3000, 4000).Bytes(stream.Data()),
    };
    for (const S2Writer& page : pages) {
        S2HostPage host(page.Data());
        ASSERT_EQ(host.ArticleCount(), 1);
        ITextBlock* block = S2HostPage::Role(host.Article(0), KESTRUM_PART_BODY);
        EXPECT_EQ(S2HostPage::Text(block), kLine1);
        EXPECT_EQ(RectOf(block), std::make_tuple(100, 1000, 300, 1100));  // the origin offsets move nothing
        EXPECT_EQ(host.Page().GetWidth(), 3000.0);
    }
}

struct RecordCase {
    const char* name;
    S2Writer record;
    const char* picture;  // name of the picture it makes, or null
};

// Each record sits between two glyphs of one item: a record that takes too few words
// leaves its last units to be read as glyphs, one that takes too many swallows "b".
const std::string kName258(258, 'N'), kName259(259, 'N');  // 259: the longest picture path a record gives

TEST(S2Page, RecordsTakeTheirWords) {
    const std::vector<RecordCase> cases = {
        {"short name", S2Writer().Picture(10, 20, 30, 40, "ABCDEFGH"), "ABCDEFGH"},
        {"short name ended by a zero", S2Writer().Picture(10, 20, 30, 40, "P1"), "P1"},
        {"long name, 22 characters", S2Writer().Picture(10, 20, 30, 40, "D:\\pics\\2011\\photo.tif"), "photo"},
        {"long form of a short name", S2Writer().Picture(10, 20, 30, 40, "AB.C", 0x800A, 0, true), "AB"},
        {"extension of 8 units", S2Writer().Picture(10, 20, 30, 40, "EXTENDED", 0x808A, 2), "EXTENDED"},
        {"extension and long name", S2Writer().Picture(10, 20, 30, 40, "C:\\a.b\\name.jpeg", 0x809A, 1), "name"},
        {"long name of 258 characters", S2Writer().Picture(10, 20, 30, 40, kName258), kName258.c_str()},
        {"long name of 262 characters, cut to 259", S2Writer().Picture(10, 20, 30, 40, kName259 + "ZZZ"),
         kName259.c_str()},
        {"rule without extension", S2Writer().Rule(0x8006, 1, 2, 3, 4), nullptr},
        {"straight rule with both marks", S2Writer().Rule(0x8006, 1, 2, 3, 2, {0xFFFF, 0x4141, 0xC000, 0x4141}), nullptr},
        {"straight rule, second mark only", S2Writer().Rule(0x8011, 5, 2, 5, 9, {0xC001, 0x4141}), nullptr},
        // The marks of a line rule may lie in the words after it, which are read on as operations.
        {"line rule with arrows", S2Writer().Rule(0x8008, 1, 2, 3, 4, {0x4141, 0x4141, 0xFFFD, 0x4141}).Op(0xFFFE), nullptr},
        {"line rule ended", S2Writer().Rule(0x8008, 1, 2, 3, 4).Horizontal().Op(0x8005), nullptr},
    };
    for (const RecordCase& c : cases) {
        S2Writer page;
        page.ShortHeader(4000, 4000).SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').Bytes(c.record.Data())
            .Glyph(200, 'b');
        S2HostPage host(page.Data());
        std::vector<std::string> texts = Texts(host);
        EXPECT_EQ(texts, std::vector<std::string>{"ab"}) << c.name;
        const LONG pictures = c.picture ? 1 : 0;
        ASSERT_EQ(host.ArticleCount(), 1 + pictures) << c.name;
        if (!c.picture) continue;
        IPicBlock* pic = S2HostPage::Pictures(host.Article(1)).at(0);
        BSTR name = nullptr;
        pic->GetName(&name);
        EXPECT_EQ(testing::TakeBstr(name), c.picture) << c.name;
        RECT r{};
        pic->GetRect(&r);
        EXPECT_EQ(Sides(r), std::make_tuple(10, 20, 40, 60)) << c.name;
    }
}

// A stream that breaks off keeps what it gave before the break and reads nothing after it.
TEST(S2Page, BrokenRecordsEndTheWalk) {
    const std::string cut = S2Writer().Picture(10, 20, 30, 40, "ABCDEFGH").Data();
    const std::vector<std::pair<const char*, S2Writer>> cases = {
        {"picture record cut short", S2Writer().Bytes(cut.substr(0, cut.size() - 4))},
        {"picture record cut before its name", S2Writer().Bytes(cut.substr(0, 12))},
        {"extension count past the end", S2Writer().Op(0x808A).Halves(1, 2).Halves(3, 4).Halves(0, 0).Halves(0, 0xFFFF)},
        {"negative name count", S2Writer().PictureLongCount(10, 20, 30, 40, -4, "ABCD").Glyph(300, 'z')},
        {"name count past the end", S2Writer().PictureLongCount(10, 20, 30, 40, 30000, "ABCD").Glyph(300, 'z')},
        {"rule record cut short", S2Writer().Op(0x8006).Halves(1, 2)},
        {"line rule cut before its marks", S2Writer().Op(0x8008).Halves(1, 2).Halves(3, 4).Halves(0, 0)},
        {"origin push without its operand", S2Writer().Op(0x801A)},
    };
    for (const auto& [name, tail] : cases) {
        std::string bytes = S2Writer().ShortHeader(4000, 4000).SizeNumbers(5, 5).SetLine(1000).Glyph(100, 'a').Data();
        bytes += tail.Data();
        S2HostPage host(bytes);
        EXPECT_EQ(Texts(host), std::vector<std::string>{"a"}) << name;
        EXPECT_EQ(host.ArticleCount(), 1) << name;
    }
}

TEST(S2Page, EmptyStreamsGiveEmptyPages) {
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"header only", S2Writer().ShortHeader(4000, 12000).Data()},
        {"long header signature in a file shorter than the header",
         S2Writer().LongHeader(0xAABB, 0xE2B9, 3000, 5000).Data().substr(0, 20)},
        {"a trailing part word", S2Writer().ShortHeader(4000, 12000).Bytes("\x01\x00\x41").Data()},
    };
    for (const auto& [name, bytes] : cases) {
        S2HostPage host(bytes);
        ASSERT_EQ(host.Opened(), S_OK) << name;
        EXPECT_EQ(host.ArticleCount(), 0) << name;
        EXPECT_EQ(host.TextCount(), 0) << name;
        EXPECT_EQ(host.Page().GetMeanTextSize(), 0.0) << name;
    }
}

TEST(S2Page, HostileStreamsEndCleanly) {
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 200; ++round) {
        S2Writer page;
        page.ShortHeader(30000, 30000);
        for (int i = 0; i < 500; ++i) {
            const uint32_t r = next();
            // Mostly operations, with glyphs and the record codes among them.
            const uint16_t lo = (r & 3) == 0 ? uint16_t(r >> 17) : uint16_t(0x8000 | ((r >> 8) & 0xFF));
            page.Halves(lo, uint16_t(next() >> 16));
        }
        S2HostPage host(page.Data(), round % 2 == 1);
        EXPECT_EQ(host.TextCount(), 0);
        EXPECT_EQ(host.PicCount(), 0);
    }
    // The densest text a stream can ask for fits the text buffer.
    S2Writer dense;
    dense.ShortHeader(30000, 30000).SetLine(1000);
    for (int i = 0; i < 2000; ++i) dense.Glyph(uint16_t(i), 0x9FF5).LineBreak();
    S2HostPage host(dense.Data());
    ASSERT_EQ(host.ArticleCount(), 1);
    EXPECT_EQ(S2HostPage::Role(host.Article(0), KESTRUM_PART_BODY)->GetTextLength(), 8000);
}

// Text items and pictures up to their bounds are read, each one article; one more is
// passed over.
TEST(S2Page, TextItemsAndPicturesAreBoundedAtTheirLimits) {
    struct Bound {
        const char* what;
        size_t limit;
        void (*add)(S2Writer&);
    };
    const Bound bounds[] = {
        {"text items", kMaxS2TextItems, [](S2Writer& w) { w.SetLine(1000).Glyph(100, 'a').EndItem(); }},
        {"pictures", kMaxS2Pictures, [](S2Writer& w) { w.Picture(10, 20, 30, 40, "P"); }},
    };
    for (const Bound& b : bounds) {
        for (size_t written : {b.limit, b.limit + 1}) {
            S2Writer page;
            page.ShortHeader(30000, 30000).SizeNumbers(5, 5);
            for (size_t i = 0; i < written; ++i) b.add(page);
            S2HostPage host(page.Data());
            EXPECT_EQ(host.ArticleCount(), LONG(b.limit)) << b.what << " " << written;
        }
    }
}

TEST(S2Page, LoadingTwiceGivesThePageOnce) {
    S2Writer page;
    page.ShortHeader(4000, 4000).TextBlock(100, 100, 5, {kLine1}).Picture(10, 20, 30, 40, "P");
    S2HostPage host(page.Data());
    ASSERT_EQ(host.ArticleCount(), 2);
    ASSERT_EQ(host.Adaptor().LoadPage(1, 0, 0), S_OK);
    IBlockList* articles = nullptr;
    ASSERT_EQ(host.Adaptor().GetArticleList(0, &articles), S_OK);
    LONG count = 0;
    articles->GetCount(&count);
    articles->Release();
    EXPECT_EQ(count, 2);
}

TEST(S2Page, PageImageComesFromTheHostsPreviewOnly) {
    const std::string stream = S2Writer().ShortHeader(4000, 4000).TextBlock(100, 100, 5, {kLine1}).Data();
    testing::TempDir dir;
    const std::string preview = dir.File("preview.jpg");
    WriteJpeg(preview, 40, 30, testing::Cells);
    const std::u16string copy = Wide(dir.File("copy.jpg")), drawn = Wide(dir.File("drawn.jpg"));

    S2HostPage withPreview(stream, false, "", preview);
    EXPECT_EQ(withPreview.Page().GetImageWidth(), 40.0);
    EXPECT_EQ(withPreview.Page().GetImageHeight(), 30.0);
    ASSERT_EQ(withPreview.Adaptor().SavePageImage(1, 1.0, copy.c_str(), nullptr), S_OK);
    CxImage saved(dir.File("copy.jpg"), CXIMAGE_FORMAT_JPG);
    EXPECT_EQ(saved.GetWidth(), 40u);

    S2HostPage without(stream);
    EXPECT_EQ(without.Page().GetImageWidth(), 0.0);
    EXPECT_EQ(without.Adaptor().SavePageImage(1, 1.0, drawn.c_str(), nullptr), E_FAIL);
    EXPECT_FALSE(PathExists(dir.File("drawn.jpg")));
}

}  // namespace
}  // namespace kestrum
