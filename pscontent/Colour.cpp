// Process colours, grey levels and the Separation colour spaces of the page lines.
#include "pscontent/Colour.h"

#include "platform/Mbcs.h"
#include "platform/Rect.h"
#include "psreader/LineScanner.h"
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"

#include <string>

namespace kestrum {

namespace {

constexpr std::string_view kSetColorSpace = " setcolorspace";
constexpr std::string_view kSetColor = " setcolor";
constexpr std::string_view kSeparation = "[ /Separation ";
constexpr size_t kSeparationNameSkip = 14;     // from the marker's start to the name
constexpr size_t kSeparationNameFallback = 13;  // where the name is taken without the marker
constexpr std::string_view kDeviceCmyk = " /DeviceCMYK";

constexpr int64_t kColourLookBack = 180;    // bytes before the rule searched for its colour space
constexpr size_t kShortestColourSpaceLine = 30;

int32_t Percent(float fraction) { return trunc32(static_cast<double>(fraction) * 100.0); }

uint32_t Channel(int64_t ink) {
    if (ink > 100 || ink < 0) ink = 100;
    return static_cast<uint32_t>((100 - ink) * 255 / 100);
}

// The colour space's name: after the Separation marker, before the device space.
std::string SeparationName(std::string_view line) {
    size_t at = MbFind(line, kSeparation);
    std::string name = at != std::string_view::npos ? Mid(line, at + kSeparationNameSkip) : Mid(line, kSeparationNameFallback);
    return Before(name, kDeviceCmyk);
}

}  // namespace

uint32_t CmykToColour(int32_t c, int32_t m, int32_t y, int32_t k) {
    uint32_t red = Channel(int64_t{c} + k);
    uint32_t green = Channel(int64_t{m} + k);
    uint32_t blue = Channel(int64_t{y} + k);
    return red + green * 256 + blue * 65536;
}

uint32_t FractionsToColour(const float* cmyk) {
    return CmykToColour(Percent(cmyk[0]), Percent(cmyk[1]), Percent(cmyk[2]), Percent(cmyk[3]));
}

uint32_t GreyToColour(float level) { return CmykToColour(0, 0, 0, trunc32(100.0 - static_cast<double>(level) * 100.0)); }

bool SeparationToColour(std::string_view name, float tint, uint32_t& colour) {
    int32_t t = Percent(tint);
    if (name == "/Cyan") colour = CmykToColour(t, 0, 0, 0);
    else if (name == "/Magenta") colour = CmykToColour(0, t, 0, 0);
    else if (name == "/Yellow") colour = CmykToColour(0, 0, t, 0);
    else if (name == "/Black") colour = CmykToColour(0, 0, 0, t);
    else return false;
    return true;
}

bool CPSParser::ReadSeparationColour(PageFile& file, std::string& line, uint32_t& colour) {
    if (!MbContains(line, kSetColorSpace)) return false;
    std::string_view tintLine;
    bool hasTint = false;
    float tint = 0.0f;
    if (file.ReadLine(tintLine)) {
        tintLine = StripLineFeed(tintLine);
        size_t at = MbFind(tintLine, kSetColor);
        if (at != std::string_view::npos) {
            tint = Numbers<1>(tintLine.substr(0, at))[0];
            hasTint = true;
        }
    }
    line = SeparationName(line);
    // Without a tint line the colour stays as it was.
    if (hasTint) SeparationToColour(line, tint, colour);
    return true;
}

uint32_t CPSParser::ReadPrevLineColour(PageFile& file) {
    uint32_t colour = kDefaultRuleColour;
    const size_t here = file.Tell();
    size_t at = MbFind(m_strPrevLine, kSetColor);
    if (at != std::string::npos) {
        float tint = Numbers<1>(std::string_view(m_strPrevLine).substr(0, at))[0];
        if (file.SeekRelative(-kColourLookBack)) {
            std::string_view raw;
            while (file.ReadLine(raw) && file.Tell() <= here) {
                if (raw.size() < kShortestColourSpaceLine) continue;
                std::string_view text = StripLineFeed(raw);
                if (MbContains(text, kSeparation) && MbContains(text, kSetColorSpace)) {
                    SeparationToColour(SeparationName(text), tint, colour);
                    break;
                }
            }
        }
    } else if ((at = MbFind(m_strPrevLine, " sg")) != std::string::npos) {
        colour = GreyToColour(Numbers<1>(std::string_view(m_strPrevLine).substr(0, at))[0]);
    }
    file.Seek(here);
    return colour;
}

}  // namespace kestrum
