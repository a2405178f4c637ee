// Embedded EPS documents: where their pictures lie, how a document is cut out of the
// page, and the previews a second reader draws of it.
#include "parser/Image.h"
#include "platform/Draw.h"
#include "platform/Files.h"
#include "psreader/ImagePath.h"
#include "psreader/PSParser.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/ScopedTmpdir.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace kestrum {
namespace {

using testing::PsInk;
using testing::PsPageWriter;
using testing::ScopedTmpdir;
using testing::TempDir;

// The temporary folder pointed at a folder of the test's own while it lasts.
class PrivateTemp {
public:
    PrivateTemp() : tmpdir_(dir_.Path()) {}
    const TempDir& Dir() const { return dir_; }

private:
    TempDir dir_;
    ScopedTmpdir tmpdir_;
};

// A document of 72 x 36 points (7420 x 3710 page units) with a red box in it.
std::string RedBoxDocument() {
    PsPageWriter doc;
    doc.boundingBox(0, 0, 72, 36).box(1484, 742, 4452, 2226, PsInk::Cmyk(0, 1, 1, 0));
    return doc.bytes();
}

struct Loaded {
    PrivateTemp temp;
    CPSParser reader;
    explicit Loaded(const PsPageWriter& page) {
        const std::string path = temp.Dir().Write("page.ps", page.bytes());
        EXPECT_TRUE(reader.Open(path));
        reader.LoadPage();
    }
    const CBaseBlock* Picture(size_t i = 0) const {
        size_t seen = 0;
        for (const CBaseBlock& b : reader.m_arrBlocks)
            if (b.m_nKind == kBlockPicture && seen++ == i) return &b;
        return nullptr;
    }
};

TEST(PsEmbeddedDocument, VisibleRectangleAndFrame) {
    const std::string doc = RedBoxDocument();
    struct Case {
        const char* name;
        void (*clip)(PsPageWriter&);
        double tx, ty, w, h;
        Rect visible, frame;  // page units
    } cases[] = {
        {"rectangle clip", [](PsPageWriter& p) { p.rectClip(33390, 35245, 3710, 3710); }, 37100, 37100, 7420, 3710,
         MakeRect(33390, 35245, 37100, 38955), MakeRect(33390, 35245, 40810, 38955)},
        {"clip path", [](PsPageWriter& p) { p.eoClip({{34000, 36000}, {36000, 36000}, {36000, 38000}, {34000, 38000}}); },
         37100, 37100, 7420, 3710, MakeRect(34000, 36000, 36000, 38000), MakeRect(33390, 35245, 40810, 38955)},
        {"no clip: the frame", [](PsPageWriter&) {}, 1000, 2000, 600, 400, MakeRect(700, 1800, 1300, 2200),
         MakeRect(700, 1800, 1300, 2200)},
        {"empty clip: the frame", [](PsPageWriter& p) { p.rectClip(10, 10, 0, 50); }, 1000, 2000, 600, 400,
         MakeRect(700, 1800, 1300, 2200), MakeRect(700, 1800, 1300, 2200)},
    };
    for (const Case& c : cases) {
        PsPageWriter page;
        c.clip(page);
        page.embeddedDocument("D:\\EPS\\logo.eps", c.tx, c.ty, c.w, c.h, doc);
        Loaded loaded(page);
        const CBaseBlock* pic = loaded.Picture();
        ASSERT_NE(pic, nullptr) << c.name;
        EXPECT_EQ(pic->m_rcBox, c.visible) << c.name;
        EXPECT_EQ(pic->m_rcBound, c.frame) << c.name;
        ASSERT_EQ(loaded.reader.m_arrImages.size(), 1u) << c.name;
        const CImagePath& image = *loaded.reader.m_arrImages[0];
        auto points = [](const Rect& r) {
            return MakeRect(r.left * 72 / 7420, r.top * 72 / 7420, r.right * 72 / 7420, r.bottom * 72 / 7420);
        };
        EXPECT_EQ(image.m_rcClip, points(c.visible)) << c.name;
        EXPECT_EQ(image.m_rcImage, points(c.frame)) << c.name;
        EXPECT_EQ(image.m_strName, pic->m_strFileName) << c.name;
    }
}

TEST(PsEmbeddedDocument, PreviewIsANewFileOfOurOwnNamedAfterTheDocument) {
    PsPageWriter page;
    page.embeddedDocument("D:\\EPS\\logo.eps", 37100, 37100, 7420, 3710, RedBoxDocument());
    Loaded loaded(page);
    const CBaseBlock* pic = loaded.Picture();
    ASSERT_NE(pic, nullptr);
    const std::string path = pic->m_strImagePath;  // the block goes at ClearPage
    EXPECT_EQ(path.rfind(loaded.temp.Dir().Path() + "logo-", 0), 0u) << path;
    EXPECT_EQ(path.substr(path.size() - 4), ".jpg");
    EXPECT_EQ(pic->m_strFileName, path.substr(loaded.temp.Dir().Path().size()));
    EXPECT_NE(loaded.reader.m_arrImages[0]->m_pImage, nullptr);
    EXPECT_TRUE(PathExists(path));
    loaded.reader.ClearPage();
    EXPECT_FALSE(PathExists(path)) << "the preview goes with the page";
}

// What is cut out of the page decides whether the second reader takes it: the
// creator comment must lie within the document's first 200 bytes.
TEST(PsEmbeddedDocument, WhatIsCutOut) {
    const std::string doc = RedBoxDocument();
    const std::string body = doc.substr(doc.find('\n') + 1);  // without its start line
    std::string shortLines, longLines;
    for (int i = 0; i < 100; ++i) shortLines += "x\n", longLines += "xyz\n";
    PsPageWriter hugeDoc;
    hugeDoc.boundingBox(0, 0, 1e6, 1e6);
    struct Case {
        const char* name;
        std::string document;
        bool preview;
    } cases[] = {
        {"a page of the dialect", doc, true},
        {"a second start line begins again", "%!PS-Adobe-3.0\n" + longLines + doc, true},
        {"short lines are not copied", "%!PS-Adobe-3.0\n" + shortLines + body, true},
        {"longer lines are", "%!PS-Adobe-3.0\n" + longLines + body, false},
        {"no start line", body, false},
        {"a page too large to draw", hugeDoc.bytes(), false},
    };
    for (const Case& c : cases) {
        PsPageWriter page;
        page.embeddedDocument("D:\\EPS\\logo.eps", 37100, 37100, 7420, 3710, c.document);
        page.box(100, 100, 200, 200);  // the page goes on after the document
        Loaded loaded(page);
        const CBaseBlock* pic = loaded.Picture();
        ASSERT_NE(pic, nullptr) << c.name;
        if (c.preview) {
            EXPECT_EQ(pic->m_strImagePath.substr(pic->m_strImagePath.size() - 4), ".jpg") << c.name;
        } else {
            EXPECT_EQ(pic->m_strImagePath, "D:\\EPS\\logo.eps") << c.name;
            EXPECT_EQ(pic->m_strFileName, "logo.eps") << c.name;
        }
        EXPECT_EQ(loaded.reader.m_arrBlocks.size(), 2u) << c.name;
        // Only the preview, if any, is left in the temporary folder: the cut-out is gone.
        std::vector<DirEntry> entries;
        ASSERT_TRUE(ListDirectory(loaded.temp.Dir().Path(), entries));
        EXPECT_EQ(entries.size(), 3u + (c.preview ? 1 : 0)) << c.name;  // ".", "..", page.ps
    }
}

TEST(PsEmbeddedDocument, WithoutBeginEpsfTheRestOfThePageIsTheFrameSearch) {
    PsPageWriter page;
    page.embeddedDocument("logo.eps", 37100, 37100, 7420, 3710, RedBoxDocument(), false);
    page.box(100, 100, 200, 200);
    Loaded loaded(page);
    ASSERT_EQ(loaded.reader.m_arrBlocks.size(), 1u);
    const CBaseBlock* pic = loaded.Picture();
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic->m_rcBox, Rect{});
    EXPECT_EQ(pic->m_rcBound, Rect{});
    EXPECT_EQ(pic->m_strImagePath, "logo.eps");
}

// A document holding documents: each level's preview shows the level inside it, down
// to a bounded depth; deeper ones are pictures without a preview.
TEST(PsEmbeddedDocument, NestedDocuments) {
    std::string doc = RedBoxDocument();
    for (int level = 12; level > 0; --level) {
        PsPageWriter outer;
        outer.boundingBox(0, 0, 72, 36).embeddedDocument("level" + std::to_string(level) + ".eps", 3710, 1855, 7420, 3710, doc);
        doc = outer.bytes();
    }
    PsPageWriter page;
    page.embeddedDocument("top.eps", 37100, 37100, 7420, 3710, doc);
    Loaded loaded(page);
    const CBaseBlock* pic = loaded.Picture();
    ASSERT_NE(pic, nullptr);
    EXPECT_NE(pic->m_strImagePath, "top.eps");
    std::vector<DirEntry> entries;
    ASSERT_TRUE(ListDirectory(loaded.temp.Dir().Path(), entries));
    EXPECT_EQ(entries.size(), 4u) << "only the page and its own preview stay";

    PsPageWriter two;
    PsPageWriter inner;
    inner.boundingBox(0, 0, 72, 36).embeddedDocument("inner.eps", 3710, 1855, 7420, 3710, RedBoxDocument());
    two.embeddedDocument("outer.eps", 37100, 37100, 7420, 3710, inner.bytes());
    Loaded shallow(two);
    const CBaseBlock* outerPic = shallow.Picture();
    ASSERT_NE(outerPic, nullptr);
    DrawBitmap bitmap(144, 72);
    CxImage preview(outerPic->m_strImagePath, CXIMAGE_FORMAT_JPG);
    ASSERT_TRUE(preview.IsValid());
    DrawContext dc(bitmap);
    preview.Draw(dc, MakeRect(0, 0, 144, 72));
    const Colour c = bitmap.PixelAt(72, 36);
    EXPECT_GT(c & 0xFF, 0xC0u) << std::hex << c;
    EXPECT_LT((c >> 8) & 0xFF, 0x40u) << std::hex << c;
}

}  // namespace
}  // namespace kestrum
