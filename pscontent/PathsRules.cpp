// The current path (outlines for the next filled box or picture), and rules and boxes
// recorded as blocks for the page preview.
#include "pscontent/Colour.h"
#include "platform/Mbcs.h"
#include "psreader/LineScanner.h"
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"

namespace kestrum {

namespace {

constexpr std::string_view kRectFill = " rectfill";
constexpr std::string_view kRectStroke = " rectstroke";
constexpr std::string_view kLineStroke = " l st";
constexpr std::string_view kStroke = "st";
constexpr std::string_view kSetColour = " sc ";
constexpr std::string_view kGrey = " sg";
constexpr std::string_view kLineWidth = " slw ";
constexpr std::string_view kNewPath = "np ";
constexpr std::string_view kSave = "gs ";
constexpr std::string_view kMoveTo = " m ";
constexpr std::string_view kLineTo = " l";
constexpr std::string_view kCurveTo = " curveto";
constexpr std::string_view kLineJoin = " 0 slj ";
constexpr std::string_view kLineCap = "0 slc";
constexpr std::string_view kColourSpace = "} ] setcolorspace";

constexpr size_t kShortestLine = 3;
constexpr int64_t kRuleLookBack = 100;        // bytes searched for a rule's line-cap line
constexpr int64_t kColourSpaceLookBack = 120;  // the same, from a colour space inside a broken line
constexpr int64_t kBrokenLineLookBack = 140;   // bytes before a lone "st" holding its line
constexpr uint16_t kPathCode = 0x5C;
constexpr uint32_t kPathColour = 200;

Point PointOf(std::string_view text) {
    auto v = Numbers<2>(text);
    return MakePoint(trunc32(v[0]), trunc32(v[1]));
}

void AppendCurve(std::vector<Point>& points, std::string_view text) {
    auto v = Numbers<6>(text);
    for (size_t i = 0; i < 6; i += 2) points.push_back(MakePoint(trunc32(v[i]), trunc32(v[i + 1])));
}

// x, y, width, height to a rectangle.
Rect RectOf(std::string_view text) {
    auto v = Numbers<4>(text);
    const int32_t left = trunc32(v[0]), top = trunc32(v[1]);
    return MakeRect(left, top, trunc32(left + static_cast<double>(v[2])), trunc32(top + static_cast<double>(v[3])));
}

uint16_t LineWidth(std::string_view text) { return static_cast<uint16_t>(Atoi(text)); }

}  // namespace

bool CPSParser::ReadPath(PageFile& file, std::string_view line) {
    m_curBlock.m_nKind = kBlockPath;
    std::vector<Point>& points = m_curBlock.m_arrPoints;
    points.clear();
    bool curves = false;

    std::string t(line);
    MbReplaceAll(t, kNewPath, "");
    if (MbContains(t, kSave)) t = After(t, kSave);
    size_t move = MbFind(t, kMoveTo);
    if (move != std::string::npos) {
        std::string_view rest = std::string_view(t).substr(move + kMoveTo.size());
        points.push_back(PointOf(std::string_view(t).substr(0, move)));
        if (MbContains(rest, kCurveTo)) {
            AppendCurve(points, rest);
            curves = true;
        } else {
            points.push_back(PointOf(rest));
        }
    }

    std::string_view raw;
    while (file.ReadLine(raw)) {
        if (raw.size() < kShortestLine) continue;
        std::string_view text = StripLineFeed(raw);
        size_t at;
        if (MbContains(text, "cp") || MbContains(text, "clip")) break;
        if (MbContains(text, kStroke) || MbContains(text, "%%")) {
            points.clear();
            break;
        }
        if ((at = MbFind(text, kCurveTo)) != std::string_view::npos) AppendCurve(points, text.substr(0, at));
        else if ((at = MbFind(text, kLineTo)) != std::string_view::npos) points.push_back(PointOf(text.substr(0, at)));
    }
    // Curves need a start point and whole groups of three; an outline that mixes in
    // straight segments is kept as a polygon, so no consumer reads past its end.
    m_curBlock.m_nShape = curves && points.size() % 3 == 1 ? kShapeBezier : kShapePolygon;

    m_curWord.wCode = kPathCode;
    m_curWord.crColor = kPathColour;
    m_curBlock.m_arrChars.push_back(m_curWord);
    m_curWord.strFontName = kDefaultWordFont;
    return true;
}

uint32_t CPSParser::OperatorColour(PageFile& file, std::string_view text, std::string& rest) {
    size_t at;
    if ((at = MbFind(text, kSetColour)) != std::string_view::npos) {
        rest = Mid(text, at + kSetColour.size());
        return FractionsToColour(Numbers<4>(text.substr(0, at)).data());
    }
    if ((at = MbFind(text, kGrey)) != std::string_view::npos) {
        // The grey operator is followed by a space: split as it stands, the rectangle
        // would start with an empty number and every side would move one place.
        std::string_view after = text.substr(std::min(text.size(), at + kGrey.size()));
        rest = after.substr(std::min(after.size(), after.find_first_not_of(' ')));
        return GreyToColour(Numbers<1>(text.substr(0, at))[0]);
    }
    rest = text;
    return ReadPrevLineColour(file);
}

uint32_t CPSParser::RuleColour(PageFile& file, int64_t lookBack) {
    size_t at;
    if ((at = MbFind(m_strPrevLine, kSetColour)) != std::string::npos)
        return FractionsToColour(Numbers<4>(std::string_view(m_strPrevLine).substr(0, at)).data());
    if ((at = MbFind(m_strPrevLine, kGrey)) != std::string::npos)
        return GreyToColour(Numbers<1>(std::string_view(m_strPrevLine).substr(0, at))[0]);
    return LineCapColour(file, lookBack);
}

uint32_t CPSParser::LineCapColour(PageFile& file, int64_t lookBack) {
    uint32_t colour = kDefaultRuleColour;
    const size_t here = file.Tell();
    if (file.SeekRelative(-lookBack)) {
        std::string_view raw;
        while (file.ReadLine(raw) && file.Tell() < here) {
            std::string_view text = StripLineFeed(raw);
            if (text.size() <= 2) continue;
            if (MbContains(text, kLineCap)) {
                colour = ReadPrevLineColour(file);
                break;
            }
            m_strPrevLine = raw;
        }
    }
    file.Seek(here);
    return colour;
}

bool CPSParser::ReadRuleOrBox(PageFile& file, std::string_view line, int32_t offsetX, int32_t offsetY) {
    CBaseBlock block;
    block.m_nKind = kBlockRuleOrBox;
    size_t at;
    std::string rest;

    if ((at = MbFind(line, kRectFill)) != std::string_view::npos) {
        m_curWord.crColor = OperatorColour(file, line.substr(0, at), rest);
        block.m_rcBox = RectOf(rest);
        OffsetRect(block.m_rcBox, offsetX, offsetY);
        if (m_curBlock.m_arrPoints.size() < 3) {
            block.m_nShape = kShapeRect;
        } else {
            block.m_arrPoints = m_curBlock.m_arrPoints;
            block.m_nShape = kShapePolygon;
        }
        m_curBlock.m_arrPoints.clear();
    } else if ((at = MbFind(line, kRectStroke)) != std::string_view::npos) {
        std::string t = Left(line, at);
        if ((at = MbFind(t, kLineWidth)) != std::string::npos) {
            const Rect r = RectOf(Mid(t, at + kLineWidth.size()));
            block.m_rcBox = r;
            block.m_arrPoints = {MakePoint(r.left, r.top), MakePoint(r.right, r.top), MakePoint(r.right, r.bottom),
                                 MakePoint(r.left, r.bottom), MakePoint(r.left, r.top)};
            t = Left(t, at);
        }
        if ((at = MbFind(t, kNewPath)) != std::string::npos) {
            m_curWord.wCode = LineWidth(Mid(t, at + kNewPath.size()));
            t = Left(t, at);
        }
        m_curWord.crColor = OperatorColour(file, t, rest);
        m_curWord.strFontName = kRuleFont;
        block.m_arrChars.push_back(m_curWord);
    } else if ((at = MbFind(line, kLineStroke)) != std::string_view::npos) {
        std::string t = Left(line, at);
        block.m_arrPoints.push_back(PointOf(After(t, kMoveTo)));
        std::string s = Before(t, kMoveTo);
        uint16_t width = 0;
        if ((at = MbFind(s, kLineWidth)) != std::string::npos) {
            width = LineWidth(Left(s, at));
            s = Mid(s, at + kLineWidth.size());
        }
        block.m_arrPoints.push_back(PointOf(s));
        m_curWord.crColor = RuleColour(file, kRuleLookBack);
        m_curWord.strFontName = kRuleFont;
        m_curWord.wCode = width;
    } else if (line == kStroke) {
        ReadBrokenLine(file, block);
    }

    block.m_nID = static_cast<int32_t>(m_arrBlocks.size()) - 1;
    block.m_arrChars.push_back(m_curWord);
    m_arrBlocks.push_back(std::move(block));
    m_curWord.strFontName = kDefaultWordFont;
    return true;
}

void CPSParser::ReadBrokenLine(PageFile& file, CBaseBlock& block) {
    const size_t end = file.Tell();
    // A line nearer the start than the look-back is searched from the start of the file.
    file.Seek(end > static_cast<size_t>(kBrokenLineLookBack) ? end - kBrokenLineLookBack : 0);
    bool started = false;
    uint16_t width = 0;
    Point first{};
    uint32_t colour = kDefaultRuleColour;

    std::string_view raw;
    while (file.ReadLine(raw)) {
        if (raw.size() < kShortestLine) continue;
        std::string_view text = StripLineFeed(raw);
        if (text == kStroke && file.Tell() >= end) break;
        size_t at;
        if ((at = MbFind(text, kLineJoin)) != std::string_view::npos) {
            std::string_view k = text.substr(0, at);
            std::string s = Mid(text, at + kLineJoin.size());
            const Point q = PointOf(After(s, kMoveTo));
            s = Before(s, kMoveTo);
            size_t slw = MbFind(s, kLineWidth);
            if (slw != std::string::npos) {
                width = LineWidth(Left(s, slw));
                s = Mid(s, slw + kLineWidth.size());
            }
            first = PointOf(s);
            block.m_arrPoints.push_back(first);
            if (q.x != -1 && q.y != -1) block.m_arrPoints.push_back(q);
            started = true;
            size_t sc = MbFind(k, kSetColour);
            colour = sc != std::string_view::npos ? FractionsToColour(Numbers<4>(k.substr(0, sc)).data())
                                                  : RuleColour(file, kRuleLookBack);
        } else if (started && (at = MbFind(text, kLineTo)) != std::string_view::npos) {
            block.m_arrPoints.push_back(PointOf(text.substr(0, at)));
        } else if (!started && MbContains(text, kColourSpace)) {
            colour = LineCapColour(file, kColourSpaceLookBack);
        } else if (started && MbContains(text, "cp")) {
            block.m_arrPoints.push_back(first);
        } else {
            m_strPrevLine = raw;
        }
    }
    m_curWord.crColor = colour;
    m_curWord.strFontName = kRuleFont;
    m_curWord.wCode = width;
}

}  // namespace kestrum
