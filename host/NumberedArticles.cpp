#include "NumberedArticles.h"

#include <algorithm>
#include <map>

namespace {

constexpr int32_t kTitleKind = 2;
constexpr int32_t kJoinedTitleLevel = 0;
constexpr int32_t kOutsideArticles = -1;
// Pictures are placed between the articles of a PostScript page, so they carry the
// readers' default 0, which names no article.
constexpr int32_t kUnnumberedPicture = 0;

// The component's text list puts joined titles last; the block numbers keep the
// order of the page file.
std::vector<const TextBlockDoc*> InPageOrder(const std::vector<TextBlockDoc>& blocks) {
    std::vector<const TextBlockDoc*> out;
    for (const TextBlockDoc& block : blocks) out.push_back(&block);
    std::stable_sort(out.begin(), out.end(), [](const TextBlockDoc* a, const TextBlockDoc* b) { return a->id < b->id; });
    return out;
}

}  // namespace

bool IsHeading(const TextBlockDoc& block) { return block.kind == kTitleKind || block.level == kJoinedTitleLevel; }

std::optional<NumberedPage> GroupByArticleNumber(const PageDoc& doc) {
    if (!doc.articles.empty() || doc.textBlocks.empty()) return std::nullopt;
    for (const TextBlockDoc& block : doc.textBlocks)
        if (!block.article) return std::nullopt;

    NumberedPage page;
    std::map<int32_t, size_t> byNumber;  // article number -> index in page.articles
    for (const TextBlockDoc* block : InPageOrder(doc.textBlocks)) {
        if (*block->article == kOutsideArticles) {
            page.looseTexts.push_back(block);
            continue;
        }
        auto [at, added] = byNumber.emplace(*block->article, page.articles.size());
        if (added) page.articles.push_back({*block->article, {}, {}});
        page.articles[at->second].texts.push_back(block);
    }
    for (NumberedArticle& article : page.articles)
        std::stable_partition(article.texts.begin(), article.texts.end(), [](const TextBlockDoc* t) { return IsHeading(*t); });

    for (const PictureDoc& picture : doc.pictures) {
        const auto at = picture.article && *picture.article != kUnnumberedPicture ? byNumber.find(*picture.article)
                                                                                 : byNumber.end();
        if (at == byNumber.end())
            page.loosePictures.push_back(&picture);
        else
            page.articles[at->second].pictures.push_back(&picture);
    }
    return page;
}
