// The working state of one ReadArticle call; a nested article has its own.
#pragma once

#include "pscontent/Records.h"
#include "platform/Rect.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrum {

struct ArticleState {
    static constexpr size_t kNumbers = 256;  // advances one show line can give
    // Room of a first working list; later ones take the size of the page's last article,
    // within a bound, so that one huge article does not make every later list huge.
    static constexpr size_t kInitialChars = 1024;
    static constexpr size_t kMaxRoomChars = 65536;
    static size_t RoomFor(size_t lastArticleChars) {
        return lastArticleChars < kInitialChars ? kInitialChars : lastArticleChars > kMaxRoomChars ? kMaxRoomChars : lastArticleChars;
    }

    ArticleState(int32_t articleNo, int32_t x, int32_t y) : article(articleNo), originX(x), originY(y) {
        block.m_nArticle = articleNo;
        block.m_nKind = kBlockBody;
    }

    // The number `i` of the last splits; beyond the array a show line's advances are 0.
    float Number(size_t i) const { return i < kNumbers ? numbers[i] : 0.0f; }

    int32_t article;                 // number from the header; -1 outside any article
    int32_t originX, originY;        // added to the article's own translation (page units)
    std::vector<St_WordInfo> chars;  // characters of the block being built
    CBaseBlock block;                // its m_nKind is the current kind; m_rcBox left/top the origin
    float scaleX = 1.0f, scaleY = 1.0f;                   // from the last scale line
    std::string endMarker = "[1 0 0 1 -%d -%d] concat";   // the line text that ends the article
    int32_t curX = 0, curY = 0;      // current point of the last moveto
    Point extent{};                  // running text extent, kept by PlaceChar
    int32_t savedX = 0, savedY = 0;  // origin handed to nested articles and rules
    int32_t maxSize = 0, minSize = 0;  // font sizes seen in the article
    uint32_t colour = 0;             // colour of the next characters, 0x00BBGGRR
    Rect lastRect{};                 // rectangle of the last character appended
    std::string positionText;        // operand text of the last moveto
    std::string showText;            // text of the show line being read
    uint8_t vertical = 0;            // writing direction of the current show line
    uint8_t glyphPlaced = 0;         // inside a define block: its moveto line was read
    // Receives the advances, scales and colours of the call; what a split does not
    // reach keeps its earlier value. Zero at the start, so an early read gives 0.
    std::array<float, kNumbers> numbers{};
};

}  // namespace kestrum
