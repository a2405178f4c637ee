// Embedded EPS documents as a host meets them: pictures whose previews show the
// documents' drawing, the page's proof showing them in their clips, and a temporary
// folder in which nothing but our own new files is touched.
#include <kestrum/kestrum.h>

#include "parser/Image.h"
#include "platform/Draw.h"
#include "platform/Files.h"
#include "tests/model/HostSide.h"
#include "tests/support/HostLists.h"
#include "tests/support/PsPageWriter.h"
#include "tests/support/ScopedTmpdir.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>

namespace kestrum {
namespace {

using testing::PsInk;
using testing::PsPageWriter;
using testing::ScopedTmpdir;
using testing::TakeBstr;
using testing::TempDir;

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// The colour at a pixel of a JPEG file, decoded again.
Colour PixelOf(const std::string& jpeg, int32_t x, int32_t y) {
    CxImage image(jpeg, CXIMAGE_FORMAT_JPG);
    EXPECT_TRUE(image.IsValid()) << jpeg;
    const auto w = static_cast<int32_t>(image.GetWidth()), h = static_cast<int32_t>(image.GetHeight());
    DrawBitmap bitmap(w, h);
    DrawContext dc(bitmap);
    image.Draw(dc, MakeRect(0, 0, w, h));
    return bitmap.PixelAt(x, y);
}
bool IsRed(Colour c) { return (c & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) < 0x40 && ((c >> 16) & 0xFF) < 0x40; }
bool IsWhite(Colour c) { return (c & 0xFF) > 0xF0 && ((c >> 8) & 0xFF) > 0xF0 && ((c >> 16) & 0xFF) > 0xF0; }

std::map<std::string, std::string> FolderContents(const std::string& folder) {
    std::map<std::string, std::string> out;
    std::vector<DirEntry> entries;
    ListDirectory(folder, entries);
    for (const DirEntry& e : entries) {
        if (e.isDirectory) continue;
        ReadWholeFile(folder + e.name, out[e.name]);
    }
    return out;
}

TEST(E2ePsEmbedded, PictureWithPreviewInTheProofAndATemporaryFolderLeftAlone) {
    TempDir temp;
    const ScopedTmpdir tmpdir(temp.Path());

    // A document of 72 x 36 points with a red box, placed with its left half visible.
    PsPageWriter doc;
    doc.boundingBox(0, 0, 72, 36).box(1484, 742, 4452, 2226, PsInk::Cmyk(0, 1, 1, 0));
    PsPageWriter page;
    page.rectClip(33390, 35245, 3710, 3710).embeddedDocument("D:\\EPS\\logo.eps", 37100, 37100, 7420, 3710, doc.bytes());
    const std::string path = temp.Write("logo.ps", page.bytes());
    // Files that bear the names an extraction and a preview would once have had.
    temp.Write("logo.eps", "not ours");
    temp.Write("logo.jpg", "not ours");
    temp.Write("logo-XXXXXX.eps", "not ours either");
    const auto before = FolderContents(temp.Path());

    IDataAdaptor* adaptor = testing::NewAdaptorFromFactory();
    ASSERT_EQ(adaptor->Open(0, Wide(path).c_str()), S_OK);
    ASSERT_EQ(adaptor->LoadPage(1, 0, 0), S_OK);
    const auto pics = testing::TakeItems<IPicBlock>([&](IBlockList** l) { return adaptor->GetPicList(nullptr, 0, l); });
    ASSERT_EQ(pics.size(), 1u);
    RECT r{};
    ASSERT_EQ(pics[0]->GetRect(&r), S_OK);
    EXPECT_EQ(testing::Sides(r), testing::Sides(MakeRect(33390, 35245, 37100, 38955)));
    BSTR b = nullptr;
    ASSERT_EQ(pics[0]->GetImagePath(&b), S_OK);
    const std::string preview = TakeBstr(b);
    EXPECT_EQ(preview.rfind(temp.Path() + "logo-", 0), 0u) << preview;
    EXPECT_EQ(pics[0]->GetImageWidth(), 144);
    // The preview shows the document's box where the document has it (pixels 28..114 x 14..56).
    EXPECT_TRUE(IsRed(PixelOf(preview, 72, 36)));
    EXPECT_TRUE(IsWhite(PixelOf(preview, 10, 36)));

    // In the page's proof the frame lies at pixels (648, 684)-(792, 756); the clip keeps x < 720.
    const std::string proof = temp.File("proof.jpg");
    ASSERT_EQ(adaptor->SavePageImage(1, 1.0, Wide(proof).c_str(), nullptr), S_OK);
    EXPECT_TRUE(IsRed(PixelOf(proof, 700, 720)));
    EXPECT_TRUE(IsWhite(PixelOf(proof, 740, 720))) << "outside the clip";

    auto after = FolderContents(temp.Path());
    for (const auto& [name, bytes] : before) EXPECT_EQ(after[name], bytes) << name;
    EXPECT_TRUE(PathExists(preview)) << "kept while the page is open";
    adaptor->Close();
    EXPECT_FALSE(PathExists(preview)) << "gone with the page";
    after = FolderContents(temp.Path());
    after.erase("proof.jpg");
    EXPECT_EQ(after, before);
    adaptor->Release();
}

// Exports of one page stay the same from run to run: its previews take the same names
// each time, unless such a name is held by another open page or by a file not ours.
TEST(E2ePsEmbedded, PreviewNamesRepeatAcrossRunsAndNeverTakeAHeldName) {
    TempDir temp;
    const ScopedTmpdir tmpdir(temp.Path());
    PsPageWriter doc;
    doc.boundingBox(0, 0, 72, 36).box(1484, 742, 4452, 2226, PsInk::Cmyk(0, 1, 1, 0));
    PsPageWriter page;
    page.rectClip(33390, 35245, 3710, 3710).embeddedDocument("D:\\EPS\\logo.eps", 37100, 37100, 7420, 3710, doc.bytes());
    const std::string path = temp.Write("logo.ps", page.bytes());

    auto open = [&] {
        IDataAdaptor* adaptor = testing::NewAdaptorFromFactory();
        EXPECT_EQ(adaptor->Open(0, Wide(path).c_str()), S_OK);
        EXPECT_EQ(adaptor->LoadPage(1, 0, 0), S_OK);
        return adaptor;
    };
    auto previewOf = [](IDataAdaptor* adaptor) {
        const auto pics =
            testing::TakeItems<IPicBlock>([&](IBlockList** l) { return adaptor->GetPicList(nullptr, 0, l); });
        BSTR b = nullptr;
        if (pics.size() != 1 || pics[0]->GetImagePath(&b) != S_OK) return std::string();
        return TakeBstr(b);
    };
    auto close = [](IDataAdaptor* adaptor) {
        adaptor->Close();
        adaptor->Release();
    };

    IDataAdaptor* first = open();
    const std::string name = previewOf(first);
    close(first);
    IDataAdaptor* again = open();
    EXPECT_EQ(previewOf(again), name) << "the same page names its preview the same";
    IDataAdaptor* alongside = open();
    const std::string other = previewOf(alongside);
    EXPECT_NE(other, name) << "two pages open at once";
    close(alongside);
    close(again);

    temp.Write(name.substr(temp.Path().size()), "not ours");
    IDataAdaptor* blocked = open();
    EXPECT_NE(previewOf(blocked), name);
    close(blocked);
    std::string kept;
    ASSERT_TRUE(ReadWholeFile(name, kept));
    EXPECT_EQ(kept, "not ours");
}

}  // namespace
}  // namespace kestrum
