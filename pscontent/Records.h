// The PostScript reader's value records: one St_WordInfo per character drawn, one
// CBaseBlock per block (title or body text, rule or box, picture, current path).
// Lengths are page units (1/7420 inch), y grows downwards. Records are plain values:
// copying one copies its strings and lists; font names are pooled (FontName).
#pragma once

#include "platform/Rect.h"
#include "pscontent/FontName.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace kestrum {

// GBK display names the records use as defaults and markers (and kParagraphFont, 段落).
inline constexpr const char* kDefaultWordFont = "\xC7\xE0\xC4\xF1\xBB\xAA\xB9\xE2\xBC\xF2\xB1\xA8\xCB\xCE";  // 青鸟华光简报宋
inline constexpr const char* kRuleFont = "\xD6\xB1\xCF\xDF";       // 直线
inline constexpr uint16_t kParagraphCode = 0xA1A1;                 // ideographic space

struct St_WordInfo {
    Rect rcChar;                                // box relative to the block origin
    uint8_t bVertical = 0;                      // shown by a vertical-writing show line
    uint16_t wCode = 0;                         // byte below 0x80, or lead * 256 + trail
    FontName strFontName{kDefaultWordFont};     // display font name
    FontName strFontName2{kDefaultWordFont};    // second name; "段落" marks a paragraph break
    int32_t nWidth = 920;                       // horizontal font size (page units)
    int32_t nHeight = 920;                      // vertical font size (page units)
    int32_t nX = 0;                             // origin x relative to the block origin
    int32_t nY = 0;                             // baseline y relative to the block origin
    uint32_t crColor = 0;                       // 0x00BBGGRR
    float fAngle = 0.0f;                        // font rotation: 0 or 90 degrees

    static St_WordInfo ParagraphMarker();
    bool IsParagraphMarker() const { return strFontName2 == FontName::ParagraphMark(); }
};

// A page holds a record per character drawn: the small fields share one word.
static_assert(sizeof(St_WordInfo) == 52);

inline St_WordInfo St_WordInfo::ParagraphMarker() {
    St_WordInfo w;
    w.strFontName = kParagraphFont;
    w.strFontName2 = kParagraphFont;
    w.wCode = kParagraphCode;
    return w;
}

// A pair of character codes: a character whose code equals `from` is given `to`.
struct St_ReplaceCode {
    uint16_t from = 0;
    uint16_t to = 0;
};

enum BlockKind : int32_t {
    kBlockRuleOrBox = 1,
    kBlockTitle = 2,
    kBlockBody = 3,
    kBlockPicture = 4,
    kBlockPath = 5,
};

enum ShapeCode : int32_t {
    kShapeOval = 2,
    kShapeRect = 3,
    kShapePolygon = 4,
    kShapeBezier = 5,
};

class CBaseBlock {
public:
    int32_t m_nID = 0;        // number in m_arrBlocks order (see the producers)
    int32_t m_nArticle = 0;   // article number; -1 outside any article
    int32_t m_nKind = 0;      // BlockKind
    Rect m_rcBox;             // text: origin and extent; picture: visible rectangle; rule/box: its rectangle
    Rect m_rcBound;           // text: union of character boxes; picture: image frame when clipped
    std::string m_strParaHtml;            // HTML fragment of a text block
    std::vector<St_WordInfo> m_arrChars;  // characters in reading order, paragraph markers included
    uint8_t m_bSkip = 0;                  // passed over when host blocks are made
    std::vector<Point> m_arrPoints;       // outline of a path, rule, box or clipped picture
    int32_t m_nShape = kShapeRect;        // ShapeCode
    int32_t m_nMaxSize = 0;               // largest font size seen while read
    int32_t m_nMinSize = 0;               // smallest font size seen while read
    std::string m_strFileName;            // picture: file name as the page names it
    std::string m_strImagePath;           // picture: image file as found on disk
    double m_dAngle = 0.0;                // picture rotation, degrees
    double m_dSkewB = 0.0;                // picture: b of a [1 b c 1 0 0] matrix
    double m_dSkewC = 0.0;                // picture: c of that matrix
    std::string m_strFontName;            // text: dominant font
    double m_dAvgSize = 0.0;              // text: average font size
};

// A page's blocks. Adding one moves none of the others.
using BlockList = std::deque<CBaseBlock>;

}  // namespace kestrum
