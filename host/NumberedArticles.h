// The articles of a page whose component lists none (a PostScript page): the page
// file numbers the article of every block, so blocks of equal number make one
// article. A heading is a title block or a joined title; text numbered -1 lies
// outside any article.
#pragma once

#include "PageDoc.h"

#include <optional>
#include <vector>

struct NumberedArticle {
    int32_t number = 0;
    std::vector<const TextBlockDoc*> texts;    // headings first, then the other blocks, each in page order
    std::vector<const PictureDoc*> pictures;   // in the order of the picture list
};

struct NumberedPage {
    std::vector<NumberedArticle> articles;     // in the page order of their first block
    std::vector<const TextBlockDoc*> looseTexts;
    std::vector<const PictureDoc*> loosePictures;
};

// Null when the page has articles of its own or its blocks carry no numbers (a
// component without the extension). The document must outlive the result.
std::optional<NumberedPage> GroupByArticleNumber(const PageDoc& doc);

bool IsHeading(const TextBlockDoc& block);
