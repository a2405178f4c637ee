#include "ReadPageDoc.h"

#include "ComHandles.h"

#include <algorithm>
#include <cctype>

namespace {

std::vector<DocPoint> RegionOf(HRESULT found, IRegn* region) {
    std::vector<DocPoint> out;
    LONG count = 0;
    if (FAILED(found) || !region || FAILED(region->GetPoints(nullptr, &count)) || count <= 0) return out;
    std::vector<POINT> points(static_cast<size_t>(count));
    if (FAILED(region->GetPoints(points.data(), &count))) return out;
    for (const POINT& p : points) out.push_back({p.x, p.y});
    return out;
}

TextBlockDoc ReadTextBlock(ITextBlock* block) {
    TextBlockDoc doc;
    doc.id = block->GetID();
    doc.kind = block->GetKind();
    doc.level = block->GetLevel();
    doc.layout = block->GetLayout();
    doc.fontName = StringOf([&](BSTR* out) { return block->GetFontName(out); });
    doc.fontSize = block->GetFontSize();
    doc.textLength = block->GetTextLength();
    doc.text = StringOf([&](BSTR* out) { return block->GetText(out); });
    doc.html = StringOf([&](BSTR* out) { return block->GetHtml(out); });
    IRegn* region = nullptr;
    HRESULT found = block->GetRegion(0, &region);
    doc.region = RegionOf(found, region);
    OwnedList parts;
    if (SUCCEEDED(block->GetTextBlocks(parts.Out(), 0))) {
        for (ITextBlock* part : parts.Items<ITextBlock>()) doc.parts.push_back(ReadTextBlock(part));
    }
    return doc;
}

// The first text block of one part of an article (or a picture's caption).
std::optional<TextBlockDoc> ReadFirstTextBlock(IBlock* owner, ULONG part) {
    OwnedList list;
    if (FAILED(owner->GetTextBlocks(list.Out(), part))) return std::nullopt;
    std::vector<ITextBlock*> items = list.Items<ITextBlock>();
    if (items.empty()) return std::nullopt;
    return ReadTextBlock(items.front());
}

PictureDoc ReadPicture(IPicBlock* picture) {
    PictureDoc doc;
    doc.name = StringOf([&](BSTR* out) { return picture->GetName(out); });
    doc.imagePath = StringOf([&](BSTR* out) { return picture->GetImagePath(out); });
    RECT rect;
    picture->GetRect(&rect);
    doc.rect[0] = rect.left;
    doc.rect[1] = rect.top;
    doc.rect[2] = rect.right;
    doc.rect[3] = rect.bottom;
    IRegn* region = nullptr;
    HRESULT found = picture->GetRegion(0, &region);
    doc.region = RegionOf(found, region);
    doc.imageWidth = picture->GetImageWidth();
    doc.imageHeight = picture->GetImageHeight();
    doc.imageBpp = picture->GetImageBpp();
    doc.html = StringOf([&](BSTR* out) { return picture->GetHtml(out); });
    if (auto caption = ReadFirstTextBlock(picture, 0)) doc.caption.push_back(std::move(*caption));
    return doc;
}

ArticleDoc ReadArticle(IArticle* article) {
    ArticleDoc doc;
    doc.id = article->GetID();
    doc.html = StringOf([&](BSTR* out) { return article->GetHtml(out); });
    doc.leadTitle = ReadFirstTextBlock(article, KESTRUM_PART_LEAD_TITLE);
    doc.mainTitle = ReadFirstTextBlock(article, KESTRUM_PART_MAIN_TITLE);
    doc.subTitle = ReadFirstTextBlock(article, KESTRUM_PART_SUB_TITLE);
    doc.body = ReadFirstTextBlock(article, KESTRUM_PART_BODY);
    OwnedList pictures;
    if (SUCCEEDED(article->GetPicBlocks(pictures.Out()))) {
        for (IPicBlock* picture : pictures.Items<IPicBlock>()) doc.pictures.push_back(ReadPicture(picture));
    }
    return doc;
}

PageInfoDoc ReadPageInfo(IPageInfo* page) {
    PageInfoDoc doc;
    doc.number = page->GetPageNo();
    LONG labelPage = 0;
    OwnedBstr label;
    page->GetPageLabel(&labelPage, label.Out());
    // GetPageLabel reports S_OK whether or not it wrote a label.
    if (!label.Empty()) doc.label = label.Utf8();
    doc.title = StringOf([&](BSTR* out) { return page->GetTitle(out); });
    doc.width = page->GetWidth();
    doc.height = page->GetHeight();
    doc.imageWidth = page->GetImageWidth();
    doc.imageHeight = page->GetImageHeight();
    doc.meanTextSize = page->GetMeanTextSize();
    return doc;
}

template <class Item, class Read>
void ReadList(HRESULT listed, const OwnedList& list, Read read, std::vector<decltype(read(nullptr))>& into) {
    if (FAILED(listed)) return;
    for (Item* item : list.template Items<Item>()) into.push_back(read(item));
}

}  // namespace

std::string PageFormatOf(const std::string& file) {
    size_t dot = file.find_last_of('.');
    size_t slash = file.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = file.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == "ps" || ext == "s2" ? ext : std::string();
}

PageDoc ReadPageDoc(IDataAdaptor& adaptor, const std::string& file) {
    PageDoc doc;
    doc.file = file;
    doc.format = PageFormatOf(file);
    void* page = nullptr;
    if (SUCCEEDED(adaptor.GetCurPageInfo(&page)) && page) doc.page = ReadPageInfo(static_cast<IPageInfo*>(page));
    OwnedList texts, pictures, articles;
    ReadList<ITextBlock>(adaptor.GetTextList(nullptr, 0, texts.Out()), texts, ReadTextBlock, doc.textBlocks);
    ReadList<IPicBlock>(adaptor.GetPicList(nullptr, 0, pictures.Out()), pictures, ReadPicture, doc.pictures);
    ReadList<IArticle>(adaptor.GetArticleList(0, articles.Out()), articles, ReadArticle, doc.articles);
    return doc;
}
