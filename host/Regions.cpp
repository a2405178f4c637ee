#include "Regions.h"

namespace {

constexpr int32_t kTitleKind = 2;
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
        region.role = caption ? RegionRole::kCaption
                      : block.kind == kTitleKind ? RegionRole::kTitle
                      : block.kind == kBodyKind  ? RegionRole::kBody
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

}  // namespace

PageRegions ListRegions(const PageDoc& doc) {
    PageRegions out;
    RegionLister lister(out);
    int number = 0;
    for (const ArticleDoc& article : doc.articles) {
        ++number;
        lister.BeginGroup("a" + std::to_string(number), "Article " + std::to_string(number), true);
        for (const auto* role : {&article.leadTitle, &article.mainTitle, &article.subTitle, &article.body}) {
            if (*role) lister.AddText(**role, false);
        }
        for (const PictureDoc& picture : article.pictures) lister.AddPicture(picture);
    }
    if (!doc.textBlocks.empty() || !doc.pictures.empty()) {
        lister.BeginGroup("loose", "Blocks outside articles", false);
        for (const TextBlockDoc& block : doc.textBlocks) lister.AddText(block, false);
        for (const PictureDoc& picture : doc.pictures) lister.AddPicture(picture);
    }
    return out;
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
