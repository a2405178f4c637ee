#include "Regions.h"

#include "NumberedArticles.h"

namespace {

constexpr int32_t kBodyKind = 3;

class RegionLister {
public:
    explicit RegionLister(PageRegions& out) : out_(out) {}

    void BeginGroup(std::string id, std::string label, bool article) {
        out_.groups.push_back({std::move(id), std::move(label), article, {}});
    }

    // A composite stands for its parts, which carry the finer outlines.
    void AddText(const TextBlockDoc& block, bool caption) {
        if (!block.parts.empty()) {
            for (const TextBlockDoc& part : block.parts) AddText(part, caption);
            return;
        }
        PageRegion region;
        region.id = "t" + std::to_string(++texts_);
        region.role = caption               ? RegionRole::kCaption
                      : IsHeading(block)        ? RegionRole::kTitle
                      : block.kind == kBodyKind ? RegionRole::kBody
                                                : RegionRole::kOther;
        region.text = &block;
        Add(std::move(region));
    }

    void AddPicture(const PictureDoc& picture) {
        PageRegion region;
        region.id = "i" + std::to_string(++pictures_);
        region.role = RegionRole::kPicture;
        region.picture = &picture;
        size_t index = Add(std::move(region));
        if (picture.caption.empty()) return;
        AddText(picture.caption.front(), true);
        out_.regions[index].captionId = out_.regions.back().id;
    }

private:
    size_t Add(PageRegion region) {
        region.group = out_.groups.size() - 1;
        out_.groups.back().members.push_back(out_.regions.size());
        out_.regions.push_back(std::move(region));
        return out_.regions.size() - 1;
    }

    PageRegions& out_;
    int texts_ = 0;
    int pictures_ = 0;
};

template <class Block>
std::vector<const Block*> PointersTo(const std::vector<Block>& blocks) {
    std::vector<const Block*> out;
    for (const Block& block : blocks) out.push_back(&block);
    return out;
}

void AddLoose(RegionLister& lister, const std::vector<const TextBlockDoc*>& texts,
              const std::vector<const PictureDoc*>& pictures) {
    if (texts.empty() && pictures.empty()) return;
    lister.BeginGroup("loose", "Blocks outside articles", false);
    for (const TextBlockDoc* block : texts) lister.AddText(*block, false);
    for (const PictureDoc* picture : pictures) lister.AddPicture(*picture);
}

void ListNumbered(const NumberedPage& page, RegionLister& lister) {
    int number = 0;
    for (const NumberedArticle& article : page.articles) {
        lister.BeginGroup("a" + std::to_string(++number), "Article " + std::to_string(article.number), true);
        for (const TextBlockDoc* block : article.texts) lister.AddText(*block, false);
        for (const PictureDoc* picture : article.pictures) lister.AddPicture(*picture);
    }
    AddLoose(lister, page.looseTexts, page.loosePictures);
}

}  // namespace

PageRegions ListRegions(const PageDoc& doc) {
    PageRegions out;
    RegionLister lister(out);
    if (std::optional<NumberedPage> numbered = GroupByArticleNumber(doc)) {
        out.numberedArticles = true;
        ListNumbered(*numbered, lister);
        return out;
    }
    int number = 0;
    for (const ArticleDoc& article : doc.articles) {
        ++number;
        lister.BeginGroup("a" + std::to_string(number), "Article " + std::to_string(number), true);
        for (const auto* role : {&article.leadTitle, &article.mainTitle, &article.subTitle, &article.body}) {
            if (*role) lister.AddText(**role, false);
        }
        for (const PictureDoc& picture : article.pictures) lister.AddPicture(picture);
    }
    AddLoose(lister, PointersTo(doc.textBlocks), PointersTo(doc.pictures));
    return out;
}

std::string ArticleSourceNote(const PageRegions& regions) {
    return regions.numberedArticles ? " Articles: from the page's article numbers." : "";
}

const char* RoleName(RegionRole role) {
    switch (role) {
    case RegionRole::kTitle: return "title";
    case RegionRole::kBody: return "body";
    case RegionRole::kCaption: return "caption";
    case RegionRole::kPicture: return "picture";
    case RegionRole::kOther: break;
    }
    return "other";
}
