// Caption attachment: short text blocks next to or on a picture become its caption.
#pragma once

#include <optional>

namespace kestrum {

class CPageInfo;
class CPicBlock;
class CTextBlock;
class CTextBlockArray;

// Where a text block stands relative to a picture.
enum CaptionSide : int {
    kCaptionAbove = 0,  // within the picture's width
    kCaptionLeft = 1,   // within the picture's height
    kCaptionRight = 2,
    kCaptionBelow = 3,
    kCaptionInside = 4,
};
inline constexpr int kCaptionSides = 5;

struct CaptionRelation {
    int side = kCaptionAbove;
    double distance = 0.0;  // page units from the picture's edge (inside: the block's width)
    double ratio = 0.0;     // span ratio of the extents along the shared side; 100 inside
};

// How `text` stands to `pic`, or nothing when it could not be the picture's caption.
std::optional<CaptionRelation> RelateToPicture(const CTextBlock& text, const CPicBlock& pic, const CPageInfo& page);

// Adds `text` to the picture's caption candidates; the picture owns it from now on.
void AddCaptionPart(CPicBlock& pic, CTextBlock* text);

// Chooses the caption among the candidates: the group on one side, in one writing
// direction, that holds the most real text; the candidates of the other groups go to `rejected`.
void ResolveCaption(CPicBlock& pic, const CPageInfo& page, CTextBlockArray& rejected);

}  // namespace kestrum
