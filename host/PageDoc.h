// One page as a host reads it through the interfaces, kept as plain values so that
// every export writes from the same reading. A value the component reports as missing
// (a getter failing) is an empty optional.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct DocPoint {
    int32_t x = 0, y = 0;  // page units
};

struct TextBlockDoc {
    int32_t id = 0;
    std::optional<int32_t> article;  // the page file's article number, -1 outside any; none without the extension
    int32_t kind = 0;    // GetKind: 2 title, 3 body, 7 any other
    int32_t level = 0;   // 2 and more: a composite of `parts`
    int32_t layout = 0;  // 1 left to right, 2 right to left, 3/4 columns rightwards/leftwards, 5 one column
    std::optional<std::string> fontName;
    double fontSize = 0;  // page units
    int32_t textLength = 0;
    std::optional<std::string> text;  // UTF-8
    std::optional<std::string> html;
    std::vector<DocPoint> region;
    std::vector<TextBlockDoc> parts;
};

struct PictureDoc {
    std::optional<int32_t> article;  // as a text block's
    std::optional<std::string> name;
    std::optional<std::string> imagePath;
    int32_t rect[4] = {0, 0, 0, 0};  // left, top, right, bottom
    std::vector<DocPoint> region;
    int32_t imageWidth = 0, imageHeight = 0, imageBpp = 0;
    std::optional<std::string> html;
    std::vector<TextBlockDoc> caption;  // none or one
};

struct ArticleDoc {
    int32_t id = 0;
    std::optional<std::string> html;
    std::optional<TextBlockDoc> leadTitle, mainTitle, subTitle, body;
    std::vector<PictureDoc> pictures;
};

struct PageInfoDoc {
    int32_t number = 0;
    std::optional<std::string> label;
    std::optional<std::string> title;
    double width = 0, height = 0;            // page units
    double imageWidth = 0, imageHeight = 0;  // pixels of the host's preview image, 0 without one
    double meanTextSize = 0;
};

struct PageDoc {
    std::string file;
    std::string format;  // "ps", "s2", or empty for another extension
    std::optional<PageInfoDoc> page;
    std::vector<TextBlockDoc> textBlocks;
    std::vector<PictureDoc> pictures;
    std::vector<ArticleDoc> articles;
};
