#include "JsonExport.h"

#include "Json.h"

namespace {

void StringOrNull(JsonWriter& json, const std::optional<std::string>& value) {
    if (value)
        json.String(*value);
    else
        json.Null();
}

void IntegerOrNull(JsonWriter& json, const std::optional<int32_t>& value) {
    if (value)
        json.Integer(*value);
    else
        json.Null();
}

void WriteRegion(JsonWriter& json, const std::vector<DocPoint>& region) {
    json.BeginArray();
    for (const DocPoint& p : region) json.BeginArray().Integer(p.x).Integer(p.y).EndArray();
    json.EndArray();
}

void WriteTextBlock(JsonWriter& json, const TextBlockDoc& block) {
    json.BeginObject();
    json.Key("id").Integer(block.id);
    json.Key("article");
    IntegerOrNull(json, block.article);
    json.Key("kind").Integer(block.kind);
    json.Key("level").Integer(block.level);
    json.Key("layout").Integer(block.layout);
    json.Key("fontName");
    StringOrNull(json, block.fontName);
    json.Key("fontSize").Number(block.fontSize);
    json.Key("textLength").Integer(block.textLength);
    json.Key("text");
    StringOrNull(json, block.text);
    json.Key("html");
    StringOrNull(json, block.html);
    json.Key("region");
    WriteRegion(json, block.region);
    json.Key("parts").BeginArray();
    for (const TextBlockDoc& part : block.parts) WriteTextBlock(json, part);
    json.EndArray();
    json.EndObject();
}

void WriteOptionalBlock(JsonWriter& json, const TextBlockDoc* block) {
    if (block)
        WriteTextBlock(json, *block);
    else
        json.Null();
}

void WritePicture(JsonWriter& json, const PictureDoc& picture) {
    json.BeginObject();
    json.Key("article");
    IntegerOrNull(json, picture.article);
    json.Key("name");
    StringOrNull(json, picture.name);
    json.Key("imagePath");
    StringOrNull(json, picture.imagePath);
    json.Key("rect").BeginArray();
    for (int32_t side : picture.rect) json.Integer(side);
    json.EndArray();
    json.Key("region");
    WriteRegion(json, picture.region);
    json.Key("imageWidth").Integer(picture.imageWidth);
    json.Key("imageHeight").Integer(picture.imageHeight);
    json.Key("imageBpp").Integer(picture.imageBpp);
    json.Key("html");
    StringOrNull(json, picture.html);
    json.Key("caption");
    WriteOptionalBlock(json, picture.caption.empty() ? nullptr : &picture.caption.front());
    json.EndObject();
}

void WriteArticle(JsonWriter& json, const ArticleDoc& article) {
    json.BeginObject();
    json.Key("id").Integer(article.id);
    json.Key("html");
    StringOrNull(json, article.html);
    const std::pair<const char*, const std::optional<TextBlockDoc>*> roles[] = {
        {"leadTitle", &article.leadTitle}, {"mainTitle", &article.mainTitle},
        {"subTitle", &article.subTitle}, {"body", &article.body}};
    for (const auto& [key, block] : roles) {
        json.Key(key);
        WriteOptionalBlock(json, *block ? &**block : nullptr);
    }
    json.Key("pictures").BeginArray();
    for (const PictureDoc& picture : article.pictures) WritePicture(json, picture);
    json.EndArray();
    json.EndObject();
}

void WritePage(JsonWriter& json, const std::optional<PageInfoDoc>& page) {
    json.BeginObject();
    if (page) {
        json.Key("number").Integer(page->number);
        json.Key("label");
        StringOrNull(json, page->label);
        json.Key("title");
        StringOrNull(json, page->title);
        json.Key("width").Number(page->width);
        json.Key("height").Number(page->height);
        json.Key("imageWidth").Number(page->imageWidth);
        json.Key("imageHeight").Number(page->imageHeight);
        json.Key("meanTextSize").Number(page->meanTextSize);
    }
    json.EndObject();
}

}  // namespace

std::string PageJson(const PageDoc& doc) {
    std::string out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("file").String(doc.file);
    json.Key("format");
    StringOrNull(json, doc.format.empty() ? std::nullopt : std::optional<std::string>(doc.format));
    json.Key("page");
    WritePage(json, doc.page);
    json.Key("textBlocks").BeginArray();
    for (const TextBlockDoc& block : doc.textBlocks) WriteTextBlock(json, block);
    json.EndArray();
    json.Key("pictures").BeginArray();
    for (const PictureDoc& picture : doc.pictures) WritePicture(json, picture);
    json.EndArray();
    json.Key("articles").BeginArray();
    for (const ArticleDoc& article : doc.articles) WriteArticle(json, article);
    json.EndArray();
    json.EndObject();
    out += '\n';
    return out;
}
