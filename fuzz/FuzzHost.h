// Shared by the fuzzers: any bytes as a page file, read the way a host reads a page —
// through the class factory and the interfaces only: Open with settings, LoadPage,
// every list, every block's text, HTML, font, size, rectangle, region and parts, the
// articles with their roles, pictures and captions, the page image under a small
// size, Close. Nothing may crash, hang or read outside the file.
#pragma once

#include <kestrum/kestrum.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace kestrum::fuzz {

// The largest page the fuzzer has drawn, in pixels at 144 per inch (pages are
// measured in 1/7420 inch): drawing is fuzzed, not the memory of huge bitmaps.
constexpr double kMaxDrawnPixels = 600.0 * 600.0;
constexpr double kPixelsPerPageUnit = 144.0 / 7420.0;
constexpr int kMaxPartDepth = 8;

class Settings : public IAppExt {
public:
    explicit Settings(bool group) { info_.bGroupArticles = group ? 1 : 0; }
    virtual ~Settings() = default;
    HRESULT ReleaseInfo(AppExtInfo**) override { return S_OK; }
    HRESULT GetInfo(AppExtInfo** ppInfo, ULONG) override {
        *ppInfo = &info_;
        return S_OK;
    }

private:
    AppExtInfo info_{};
};

inline std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// A file of our own with the extension the reader is chosen by; removed when it goes.
class TempPage {
public:
    TempPage(const uint8_t* data, size_t size, const char* extension) {
        const char* tmp = std::getenv("TMPDIR");
        path_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/kestrum-fuzz-XXXXXX" + extension;
        const int fd = ::mkstemps(path_.data(), int(std::char_traits<char>::length(extension)));
        if (fd < 0) {
            path_.clear();
            return;
        }
        for (size_t done = 0; done < size;) {
            const ssize_t n = ::write(fd, data + done, size - done);
            if (n <= 0) break;
            done += size_t(n);
        }
        ::close(fd);
    }
    ~TempPage() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TempPage(const TempPage&) = delete;
    TempPage& operator=(const TempPage&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Calls a string getter and frees what it gives.
template <class Object>
void TakeString(Object& object, HRESULT (Object::*get)(BSTR*)) {
    BSTR s = nullptr;
    if (SUCCEEDED((object.*get)(&s))) SysFreeString(s);
}

template <class Block>
void ReadRegion(Block& block) {
    IRegn* region = nullptr;
    LONG count = 0;
    block.GetRegionCount(&count);
    if (FAILED(block.GetRegion(0, &region)) || !region) return;
    LONG points = 0;
    if (SUCCEEDED(region->GetPoints(nullptr, &points)) && points > 0 && points < 64) {
        POINT buffer[64];
        region->GetPoints(buffer, &points);
    }
    region->GetPageNo();
}

void ReadText(ITextBlock& block, int depth);

// Hands every item of a result list, as `Item`, to `read`; then releases the list.
template <class Item, class Read>
void ReadList(IBlockList* list, Read read) {
    if (!list) return;
    LONG count = 0;
    list->GetCount(&count);
    for (INT i = 0; i < count; ++i) {
        void* item = nullptr;
        if (SUCCEEDED(list->GetItemAt(i, &item)) && item) read(*static_cast<Item*>(item));
    }
    list->Release();
}

inline void ReadTextList(IBlockList* list, int depth) {
    ReadList<ITextBlock>(list, [depth](ITextBlock& block) { ReadText(block, depth); });
}

inline void ReadText(ITextBlock& block, int depth) {
    TakeString<ITextBlock>(block, &ITextBlock::GetText);
    TakeString<IBlock>(block, &IBlock::GetHtml);
    TakeString<ITextBlock>(block, &ITextBlock::GetFontName);
    block.GetFontSize();
    block.GetLayout();
    block.GetKind();
    block.GetLevel();
    block.GetID();
    block.GetID2();
    block.GetTextLength();
    ReadRegion(block);
    if (depth >= kMaxPartDepth) return;
    IBlockList* parts = nullptr;
    if (SUCCEEDED(block.GetTextBlocks(&parts, 0))) ReadTextList(parts, depth + 1);
}

inline void ReadPicture(IPicBlock& pic) {
    TakeString<IPicBlock>(pic, &IPicBlock::GetName);
    TakeString<IPicBlock>(pic, &IPicBlock::GetImagePath);
    TakeString<IBlock>(pic, &IBlock::GetHtml);
    RECT r;
    pic.GetRect(&r);
    pic.GetImageWidth();
    pic.GetImageHeight();
    ReadRegion(pic);
    IBlockList* caption = nullptr;
    if (SUCCEEDED(pic.GetTextBlocks(&caption, 0))) ReadTextList(caption, 1);
}

inline void ReadPictureList(IBlockList* list) { ReadList<IPicBlock>(list, ReadPicture); }

inline void ReadArticle(IArticle& article) {
    article.GetID();
    TakeString<IBlock>(article, &IBlock::GetHtml);
    for (ULONG part = 0; part <= KESTRUM_PART_BODY; ++part) {
        IBlockList* texts = nullptr;
        if (SUCCEEDED(article.GetTextBlocks(&texts, part))) ReadTextList(texts, 0);
    }
    IBlockList* pics = nullptr;
    if (SUCCEEDED(article.GetPicBlocks(&pics))) ReadPictureList(pics);
}

// One page through one adaptor, as a host reads it.
inline int ReadPage(const uint8_t* data, size_t size, const char* extension, bool group) {
    TempPage page(data, size, extension);
    if (page.Path().empty()) return 0;
    void* pv = nullptr;
    if (FAILED(DllGetClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, &pv))) return 0;
    auto* factory = static_cast<IClassFactory*>(pv);
    const HRESULT made = factory->CreateInstance(nullptr, IID_IDataAdaptor, &pv);
    factory->Release();
    if (FAILED(made)) return 0;
    auto* adaptor = static_cast<IDataAdaptor*>(pv);
    Settings settings(group);
    if (SUCCEEDED(adaptor->Open(reinterpret_cast<ULONG_PTR>(static_cast<IAppExt*>(&settings)),
                                Wide(page.Path()).c_str())) &&
        SUCCEEDED(adaptor->LoadPage(1, 0, 0))) {
        IBlockList* list = nullptr;
        if (SUCCEEDED(adaptor->GetTextList(nullptr, 0, &list))) ReadTextList(list, 0);
        list = nullptr;
        if (SUCCEEDED(adaptor->GetPicList(nullptr, 0, &list))) ReadPictureList(list);
        list = nullptr;
        if (SUCCEEDED(adaptor->GetArticleList(0, &list))) ReadList<IArticle>(list, ReadArticle);
        void* info = nullptr;
        if (SUCCEEDED(adaptor->GetCurPageInfo(&info)) && info) {
            auto* pageInfo = static_cast<IPageInfo*>(info);
            const double w = pageInfo->GetWidth() * kPixelsPerPageUnit, h = pageInfo->GetHeight() * kPixelsPerPageUnit;
            if (w >= 0 && h >= 0 && w * h <= kMaxDrawnPixels) {
                const std::string image = page.Path() + ".jpg";
                adaptor->SavePageImage(1, 1.0, Wide(image).c_str(), nullptr);
                ::unlink(image.c_str());
            }
        }
    }
    adaptor->Close();
    adaptor->Release();
    return 0;
}

}  // namespace kestrum::fuzz
