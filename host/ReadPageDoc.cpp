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

// The block's article number where the component offers the extension.
template <class Block>
std::optional<int32_t> ArticleOf(IBlockArticles* numbers, HRESULT (IBlockArticles::*get)(Block*, LONG*), Block* block) {
    LONG article = 0;
    if (!numbers || FAILED((numbers->*get)(block, &article))) return std::nullopt;
    return article;
}

TextBlockDoc ReadTextBlock(ITextBlock* block, IBlockArticles* numbers) {
    TextBlockDoc doc;
    doc.id = block->GetID();
    doc.article = ArticleOf(numbers, &IBlockArticles::GetTextBlockArticle, block);
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
        for (ITextBlock* part : parts.Items<ITextBlock>()) doc.parts.push_back(ReadTextBlock(part, numbers));
    }
    return doc;
}

// The first text block of one part of an article (or a picture's caption).
std::optional<TextBlockDoc> ReadFirstTextBlock(IBlock* owner, ULONG part, IBlockArticles* numbers) {
    OwnedList list;
    if (FAILED(owner->GetTextBlocks(list.Out(), part))) return std::nullopt;
    std::vector<ITextBlock*> items = list.Items<ITextBlock>();
    if (items.empty()) return std::nullopt;
    return ReadTextBlock(items.front(), numbers);
}

PictureDoc ReadPicture(IPicBlock* picture, IBlockArticles* numbers) {
    PictureDoc doc;
    doc.article = ArticleOf(numbers, &IBlockArticles::GetPicBlockArticle, picture);
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
    if (auto caption = ReadFirstTextBlock(picture, 0, numbers)) doc.caption.push_back(std::move(*caption));
    return doc;
}

ArticleDoc ReadArticle(IArticle* article, IBlockArticles* numbers) {
    ArticleDoc doc;
    doc.id = article->GetID();
    doc.html = StringOf([&](BSTR* out) { return article->GetHtml(out); });
    doc.leadTitle = ReadFirstTextBlock(article, KESTRUM_PART_LEAD_TITLE, numbers);
    doc.mainTitle = ReadFirstTextBlock(article, KESTRUM_PART_MAIN_TITLE, numbers);
    doc.subTitle = ReadFirstTextBlock(article, KESTRUM_PART_SUB_TITLE, numbers);
    doc.body = ReadFirstTextBlock(article, KESTRUM_PART_BODY, numbers);
    OwnedList pictures;
    if (SUCCEEDED(article->GetPicBlocks(pictures.Out()))) {
        for (IPicBlock* picture : pictures.Items<IPicBlock>()) doc.pictures.push_back(ReadPicture(picture, numbers));
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
    // An older component lacks the article numbers and answers E_NOINTERFACE.
    OwnedUnknown<IBlockArticles> numbers;
    adaptor.QueryInterface(IID_IBlockArticles, numbers.Out());
    IBlockArticles* n = numbers.Get();
    OwnedList texts, pictures, articles;
    ReadList<ITextBlock>(adaptor.GetTextList(nullptr, 0, texts.Out()), texts,
                         [n](ITextBlock* block) { return ReadTextBlock(block, n); }, doc.textBlocks);
    ReadList<IPicBlock>(adaptor.GetPicList(nullptr, 0, pictures.Out()), pictures,
                        [n](IPicBlock* picture) { return ReadPicture(picture, n); }, doc.pictures);
    ReadList<IArticle>(adaptor.GetArticleList(0, articles.Out()), articles,
                       [n](IArticle* article) { return ReadArticle(article, n); }, doc.articles);
    return doc;
}
