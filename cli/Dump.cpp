#include "Dump.h"

#include "Json.h"
#include "Utf.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

// A BSTR taken over from the component and freed when it goes.
class OwnedBstr {
public:
    OwnedBstr() = default;
    ~OwnedBstr() { SysFreeString(value_); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
    BSTR* Out() { return &value_; }
    std::string Utf8() const { return value_ ? ToUtf8(std::u16string_view(value_, SysStringLen(value_))) : std::string(); }

private:
    BSTR value_ = nullptr;
};

// A result list released when it goes.
class OwnedList {
public:
    OwnedList() = default;
    ~OwnedList() {
        if (list_) list_->Release();
    }
    OwnedList(const OwnedList&) = delete;
    OwnedList& operator=(const OwnedList&) = delete;
    IBlockList** Out() { return &list_; }
    template <class T>
    std::vector<T*> Items() const {
        std::vector<T*> items;
        LONG count = 0;
        if (!list_ || FAILED(list_->GetCount(&count))) return items;
        for (INT i = 0; i < count; ++i) {
            void* item = nullptr;
            if (SUCCEEDED(list_->GetItemAt(i, &item))) items.push_back(static_cast<T*>(item));
        }
        return items;
    }

private:
    IBlockList* list_ = nullptr;
};

// A string getter's result: the text, or null when the getter fails.
template <class Getter>
void StringOrNull(JsonWriter& json, Getter get) {
    OwnedBstr value;
    if (SUCCEEDED(get(value.Out())))
        json.String(value.Utf8());
    else
        json.Null();
}

void WriteRegion(JsonWriter& json, HRESULT found, IRegn* region) {
    json.BeginArray();
    LONG count = 0;
    if (SUCCEEDED(found) && region && SUCCEEDED(region->GetPoints(nullptr, &count)) && count > 0) {
        std::vector<POINT> points(static_cast<size_t>(count));
        if (SUCCEEDED(region->GetPoints(points.data(), &count))) {
            for (const POINT& p : points) json.BeginArray().Integer(p.x).Integer(p.y).EndArray();
        }
    }
    json.EndArray();
}

void WriteTextBlock(JsonWriter& json, ITextBlock* block) {
    json.BeginObject();
    json.Key("id").Integer(block->GetID());
    json.Key("kind").Integer(block->GetKind());
    json.Key("level").Integer(block->GetLevel());
    json.Key("layout").Integer(block->GetLayout());
    json.Key("fontName");
    StringOrNull(json, [&](BSTR* out) { return block->GetFontName(out); });
    json.Key("fontSize").Number(block->GetFontSize());
    json.Key("textLength").Integer(block->GetTextLength());
    json.Key("text");
    StringOrNull(json, [&](BSTR* out) { return block->GetText(out); });
    json.Key("html");
    StringOrNull(json, [&](BSTR* out) { return block->GetHtml(out); });
    IRegn* region = nullptr;
    HRESULT found = block->GetRegion(0, &region);
    json.Key("region");
    WriteRegion(json, found, region);
    json.Key("parts").BeginArray();
    OwnedList parts;
    if (SUCCEEDED(block->GetTextBlocks(parts.Out(), 0))) {
        for (ITextBlock* part : parts.Items<ITextBlock>()) WriteTextBlock(json, part);
    }
    json.EndArray();
    json.EndObject();
}

// One text block of the given part of an article (or a picture's caption), or null.
void WriteFirstTextBlock(JsonWriter& json, IBlock* owner, ULONG part) {
    OwnedList list;
    std::vector<ITextBlock*> items;
    if (SUCCEEDED(owner->GetTextBlocks(list.Out(), part))) items = list.Items<ITextBlock>();
    if (items.empty())
        json.Null();
    else
        WriteTextBlock(json, items.front());
}

void WritePicture(JsonWriter& json, IPicBlock* picture) {
    json.BeginObject();
    json.Key("name");
    StringOrNull(json, [&](BSTR* out) { return picture->GetName(out); });
    json.Key("imagePath");
    StringOrNull(json, [&](BSTR* out) { return picture->GetImagePath(out); });
    RECT rect;
    picture->GetRect(&rect);
    json.Key("rect").BeginArray().Integer(rect.left).Integer(rect.top).Integer(rect.right).Integer(rect.bottom).EndArray();
    IRegn* region = nullptr;
    HRESULT found = picture->GetRegion(0, &region);
    json.Key("region");
    WriteRegion(json, found, region);
    json.Key("imageWidth").Integer(picture->GetImageWidth());
    json.Key("imageHeight").Integer(picture->GetImageHeight());
    json.Key("imageBpp").Integer(picture->GetImageBpp());
    json.Key("html");
    StringOrNull(json, [&](BSTR* out) { return picture->GetHtml(out); });
    json.Key("caption");
    WriteFirstTextBlock(json, picture, 0);
    json.EndObject();
}

void WriteArticle(JsonWriter& json, IArticle* article) {
    json.BeginObject();
    json.Key("id").Integer(article->GetID());
    json.Key("html");
    StringOrNull(json, [&](BSTR* out) { return article->GetHtml(out); });
    json.Key("leadTitle");
    WriteFirstTextBlock(json, article, KESTRUM_PART_LEAD_TITLE);
    json.Key("mainTitle");
    WriteFirstTextBlock(json, article, KESTRUM_PART_MAIN_TITLE);
    json.Key("subTitle");
    WriteFirstTextBlock(json, article, KESTRUM_PART_SUB_TITLE);
    json.Key("body");
    WriteFirstTextBlock(json, article, KESTRUM_PART_BODY);
    json.Key("pictures").BeginArray();
    OwnedList pictures;
    if (SUCCEEDED(article->GetPicBlocks(pictures.Out()))) {
        for (IPicBlock* picture : pictures.Items<IPicBlock>()) WritePicture(json, picture);
    }
    json.EndArray();
    json.EndObject();
}

void WritePage(JsonWriter& json, IPageInfo* page) {
    json.BeginObject();
    if (!page) {
        json.EndObject();
        return;
    }
    json.Key("number").Integer(page->GetPageNo());
    LONG labelPage = 0;
    OwnedBstr label;
    page->GetPageLabel(&labelPage, label.Out());
    json.Key("label");
    if (*label.Out())
        json.String(label.Utf8());
    else
        json.Null();
    json.Key("title");
    StringOrNull(json, [&](BSTR* out) { return page->GetTitle(out); });
    json.Key("width").Number(page->GetWidth());
    json.Key("height").Number(page->GetHeight());
    json.Key("imageWidth").Number(page->GetImageWidth());
    json.Key("imageHeight").Number(page->GetImageHeight());
    json.Key("meanTextSize").Number(page->GetMeanTextSize());
    json.EndObject();
}

std::string FormatOf(const std::string& file) {
    size_t dot = file.find_last_of('.');
    size_t slash = file.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = file.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == "ps" || ext == "s2" ? ext : std::string();
}

IDataAdaptor* CreateAdaptor() {
    IClassFactory* factory = nullptr;
    if (FAILED(DllGetClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, reinterpret_cast<void**>(&factory))) || !factory)
        return nullptr;
    IDataAdaptor* adaptor = nullptr;
    HRESULT hr = factory->CreateInstance(nullptr, IID_IDataAdaptor, reinterpret_cast<void**>(&adaptor));
    factory->Release();
    return SUCCEEDED(hr) ? adaptor : nullptr;
}

}  // namespace

int RunDump(const DumpOptions& options, std::string& out, std::string& error) {
    IDataAdaptor* adaptor = CreateAdaptor();
    if (!adaptor) {
        error = "kestrum: cannot create the page reader component";
        return 2;
    }
    HostSettings settings(options);
    std::u16string path = ToUtf16(options.file);
    if (FAILED(adaptor->Open(reinterpret_cast<ULONG_PTR>(static_cast<IAppExt*>(&settings)), path.c_str()))) {
        adaptor->Release();
        error = "kestrum: cannot open " + options.file + " as a page";
        return 2;
    }
    adaptor->LoadPage(1, 0, 0);

    JsonWriter json(out);
    json.BeginObject();
    json.Key("file").String(options.file);
    std::string format = FormatOf(options.file);
    json.Key("format");
    if (format.empty())
        json.Null();
    else
        json.String(format);

    void* page = nullptr;
    adaptor->GetCurPageInfo(&page);
    json.Key("page");
    WritePage(json, static_cast<IPageInfo*>(page));

    json.Key("textBlocks").BeginArray();
    {
        OwnedList texts;
        if (SUCCEEDED(adaptor->GetTextList(nullptr, 0, texts.Out()))) {
            for (ITextBlock* block : texts.Items<ITextBlock>()) WriteTextBlock(json, block);
        }
    }
    json.EndArray();
    json.Key("pictures").BeginArray();
    {
        OwnedList pictures;
        if (SUCCEEDED(adaptor->GetPicList(nullptr, 0, pictures.Out()))) {
            for (IPicBlock* picture : pictures.Items<IPicBlock>()) WritePicture(json, picture);
        }
    }
    json.EndArray();
    json.Key("articles").BeginArray();
    {
        OwnedList articles;
        if (SUCCEEDED(adaptor->GetArticleList(0, articles.Out()))) {
            for (IArticle* article : articles.Items<IArticle>()) WriteArticle(json, article);
        }
    }
    json.EndArray();
    json.EndObject();
    out += '\n';

    adaptor->Close();
    adaptor->Release();
    return 0;
}
