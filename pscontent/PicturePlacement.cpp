// Placed image files: the clip and transform before the error-handler line, the file
// named by the error message after it, and the picture block and reference they make.
#include "platform/Mbcs.h"
#include "platform/Path.h"
#include "psreader/ImagePath.h"
#include "psreader/LineScanner.h"
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"

namespace kestrum {

namespace {

constexpr std::string_view kRectClip = " rectclip ";
constexpr std::string_view kOvalClip = " oval clip np ";
constexpr size_t kClipOperandsSkip = 10;  // a look-back placement's translation starts here after either clip
constexpr std::string_view kTranslate = " tr ";
constexpr std::string_view kTranslateEnd = " tr";
constexpr std::string_view kRotate = "rotate";
constexpr size_t kRotateSkip = 7;      // "rotate" and the space after it
constexpr size_t kRotateSkipLook = 6;  // the look-back cuts right after "rotate"
constexpr std::string_view kScale = " scale ";
constexpr std::string_view kScaleWord = "scale";
constexpr std::string_view kSkew = "[1 ";
constexpr std::string_view kSkewEnd = "1 0 0] concat";
constexpr std::string_view kSave = "gs ";
constexpr std::string_view kNewPath = " np ";
constexpr std::string_view kEoClip = "eoclip np";
constexpr std::string_view kEoClipOperator = "eoclip np ";

constexpr std::string_view kImageFileOpen = "\xCD\xBC\xCF\xF3\xCE\xC4\xBC\xFE(";  // 图象文件(
constexpr std::string_view kImageFileMissing =
    ")\xB2\xBB\xB4\xE6\xD4\xDA!\xBC\xCC\xD0\xF8\xBD\xE2\xCA\xCD\xC2\xF0?)";  // )不存在!继续解释吗?)

constexpr int64_t kPlacementLookBack = 180;  // bytes before the trigger searched for the placement
constexpr size_t kShortestPlacement = 20;
constexpr size_t kShortestLine = 3;

struct Pair {
    int32_t x = 0, y = 0;
};

Pair PairOf(std::string_view text) {
    auto v = Numbers<2>(text);
    return {trunc32(v[0]), trunc32(v[1])};
}

// The size written as the translation (-w/2, -h/2) that centres the image, scaled.
Pair SizeOf(std::string_view text, float sx = 1.0f, float sy = 1.0f) {
    auto v = Numbers<2>(text);
    return {trunc32(-2.0 * v[0] * sx), trunc32(-2.0 * v[1] * sy)};
}

Rect Frame(Pair centre, Pair size) {
    const int64_t hw = size.x / 2, hh = size.y / 2;
    return MakeRect(trunc32(static_cast<double>(centre.x - hw)), trunc32(static_cast<double>(centre.y - hh)),
                    trunc32(static_cast<double>(centre.x + hw)), trunc32(static_cast<double>(centre.y + hh)));
}

// The clip rectangle from the numbers before a clip marker.
Rect ClipRect(std::string_view before, int32_t shape) {
    std::string operands(before);
    MbReplaceAll(operands, kSave, "");
    auto v = Numbers<4>(operands);
    const int32_t a = trunc32(v[0]), b = trunc32(v[1]), c = trunc32(v[2]), d = trunc32(v[3]);
    if (shape == kShapeOval) return MakeRect(a, b, c, d);
    return MakeRect(a, b, trunc32(static_cast<double>(a) + c), trunc32(static_cast<double>(b) + d));
}

// The first clip marker of a line: its position, length and shape.
bool FindClip(std::string_view line, size_t& at, size_t& length, int32_t& shape) {
    if ((at = MbFind(line, kRectClip)) != std::string_view::npos) {
        length = kRectClip.size();
        shape = kShapeRect;
        return true;
    }
    if ((at = MbFind(line, kOvalClip)) != std::string_view::npos) {
        length = kOvalClip.size();
        shape = kShapeOval;
        return true;
    }
    return false;
}

bool IsPlacementLine(std::string_view text, size_t rawLength) {
    return rawLength >= kShortestPlacement && MbContains(text, kScaleWord) && MbContains(text, kTranslate);
}

// What a line between the placement and its size contributes: a rotation, a skew.
struct TransformStep {
    bool rotates = false;
    float angle = 0.0f;
    float skewB = 0.0f, skewC = 0.0f;
};

TransformStep ReadTransformStep(std::string_view text) {
    TransformStep step;
    std::string s(text);
    size_t at = MbFind(s, kRotate);
    if (at != std::string::npos) {
        step.rotates = true;
        step.angle = Numbers<1>(Left(s, at))[0];
        s = Mid(s, at + kRotateSkipLook);
    }
    if ((at = MbFind(s, kSkew)) != std::string::npos) {
        auto v = Numbers<2>(Before(Mid(s, at + kSkew.size()), kSkewEnd));
        step.skewB = v[0];
        step.skewC = v[1];
    }
    return step;
}

bool RotatesBeforeSize(std::string_view text, size_t) {
    return !MbContains(text, kTranslateEnd) && ReadTransformStep(text).rotates;
}
bool SkewsB(std::string_view text, size_t) {
    return !MbContains(text, kTranslateEnd) && ReadTransformStep(text).skewB != 0;
}
bool SkewsC(std::string_view text, size_t) {
    return !MbContains(text, kTranslateEnd) && ReadTransformStep(text).skewC != 0;
}

void Apply(const TransformStep& step, CBaseBlock& block) {
    if (step.rotates) block.m_dAngle = step.angle;
    if (step.skewB != 0) block.m_dSkewB = step.skewB;
    if (step.skewC != 0) block.m_dSkewC = step.skewC;
}

// The size line of a look-back placement: " tr" after an optional scale (and rotation).
Pair SizeFromLine(std::string_view text, CBaseBlock& block) {
    std::string s = Left(text, MbFind(text, kTranslateEnd));
    float sx = 1.0f, sy = 1.0f;
    if (MbContains(s, kScale)) {
        std::string u = s;
        size_t at = MbFind(u, kRotate);
        if (at != std::string::npos) {
            block.m_dAngle = Numbers<1>(Left(u, at))[0];
            u = TrimLeft(Mid(u, at + kRotateSkipLook));
        }
        auto v = Numbers<2>(u);
        sx = v[0];
        sy = v[1];
        s = After(s, kScale);
    }
    return SizeOf(s, sx, sy);
}

// The lines after a look-back placement up to its size line; what lies between
// rotates or skews the picture. The page file's indexes skip the lines in between.
Pair WalkToSize(PageFile& file, CBaseBlock& block) {
    std::string_view raw;
    while (!file.IsAligned(file.Tell()) && file.ReadLine(raw)) {
        std::string_view text = StripLineFeed(raw);
        if (MbContains(text, kTranslateEnd)) return SizeFromLine(text, block);
        Apply(ReadTransformStep(text), block);
    }
    const size_t from = file.Tell();
    PageFile::Chunk size, step;
    const bool hasSize = file.NextWith(kTranslateEnd, from, size);
    const size_t to = hasSize ? size.start : file.Size();
    if (PageFile::LastIn(file.ChunksWith(kRotate, RotatesBeforeSize), from, to, step))
        block.m_dAngle = ReadTransformStep(file.TextOf(step)).angle;
    if (PageFile::LastIn(file.ChunksWith(kSkew, SkewsB), from, to, step))
        block.m_dSkewB = ReadTransformStep(file.TextOf(step)).skewB;
    if (PageFile::LastIn(file.ChunksWith(kSkew, SkewsC), from, to, step))
        block.m_dSkewC = ReadTransformStep(file.TextOf(step)).skewC;
    // Without a size line the image has no size.
    return hasSize ? SizeFromLine(file.TextOf(size), block) : Pair{};
}

// The first placement line at or after the file's position; the file is left after it.
bool FindPlacementLine(PageFile& file, std::string& out) {
    std::string_view raw;
    while (!file.IsAligned(file.Tell()) && file.ReadLine(raw)) {
        std::string_view text = StripLineFeed(raw);
        if (IsPlacementLine(text, raw.size())) {
            out = text;
            return true;
        }
    }
    PageFile::Chunk chunk;
    if (!PageFile::FirstFrom(file.ChunksWith(kTranslate, IsPlacementLine), file.Tell(), chunk)) return false;
    out = file.TextOf(chunk);
    file.Seek(chunk.end);
    return true;
}

}  // namespace

// A rectangle or oval clip gives the picture its shape and visible rectangle, from the
// numbers before the clip marker at `at`; it replaces the current path.
static void TakeClip(CBaseBlock& picture, CBaseBlock& currentPath, std::string_view line, size_t at, int32_t shape) {
    currentPath.m_arrPoints.clear();
    picture.m_nShape = shape;
    picture.m_rcBox = ClipRect(line.substr(0, at), shape);
}

bool CPSParser::ReadPicture(PageFile& file) {
    CBaseBlock block;
    block.m_nKind = kBlockPicture;
    block.m_nShape = kShapeRect;
    const std::string prev = m_strPrevLine;

    size_t at, length;
    int32_t shape;
    if (FindClip(prev, at, length, shape)) {
        TakeClip(block, m_curBlock, prev, at, shape);
        std::string r = Mid(prev, at + length);
        const Pair centre = PairOf(Before(r, kTranslate));
        block.m_rcBound = Frame(centre, SizeOf(Before(After(r, kTranslate), kTranslate)));
    } else {
        size_t tr = MbFind(prev, kTranslate);
        std::string t = tr != std::string::npos ? Left(prev, tr) : std::string();
        if (MbContains(t, kEoClip)) MbReplaceAll(t, kEoClipOperator, "");
        else MbReplaceAll(t, kSave, "");
        if (t.size() > 3) {
            const Pair centre = PairOf(t);
            std::string r = Before(After(prev, kTranslate), kTranslate);
            if ((at = MbFind(r, kRotate)) != std::string::npos) {
                block.m_dAngle = Numbers<1>(Left(r, at))[0];
                r = Mid(r, at + kRotateSkip);
            }
            block.m_rcBox = Frame(centre, SizeOf(r));
        } else {
            LookBackForPlacement(file, block);
        }
    }

    std::string name;
    if (!FindImageMessage(file, name)) return true;
    RecordPicture(block, name);
    return true;
}

void CPSParser::LookBackForPlacement(PageFile& file, CBaseBlock& block) {
    const size_t here = file.Tell();
    file.SeekRelative(-kPlacementLookBack);
    std::string line;
    if (FindPlacementLine(file, line)) {
        size_t at, length;
        int32_t shape;
        if (FindClip(line, at, length, shape)) {
            TakeClip(block, m_curBlock, line, at, shape);
            std::string r = Before(Mid(line, at + kClipOperandsSkip), kTranslate);
            MbReplaceAll(r, kNewPath, "");
            const Pair centre = PairOf(r);
            std::string_view raw;
            std::string s = file.ReadLine(raw) ? std::string(StripLineFeed(raw)) : std::string();
            float sx = 1.0f, sy = 1.0f;
            if ((at = MbFind(s, kScale)) != std::string::npos) {
                auto v = Numbers<2>(Left(s, at));
                sx = v[0];
                sy = v[1];
                s = Mid(s, at + kScale.size());
            }
            Pair size;
            if ((at = MbFind(s, kTranslateEnd)) != std::string::npos) size = SizeOf(Left(s, at), sx, sy);
            block.m_rcBound = Frame(centre, size);
        } else {
            std::string t = Before(line, kTranslate);
            MbReplaceAll(t, kSave, "");
            const Pair centre = PairOf(t);
            std::string r = After(line, kTranslate);
            Pair size = (at = MbFind(r, kTranslate)) != std::string::npos ? SizeOf(Left(r, at)) : WalkToSize(file, block);
            block.m_rcBox = Frame(centre, size);
        }
    }
    file.Seek(here);
}

bool CPSParser::FindImageMessage(PageFile& file, std::string& name) {
    std::string_view raw;
    while (file.ReadLine(raw)) {
        if (raw.size() < kShortestLine) continue;
        std::string_view text = StripLineFeed(raw);
        size_t end = MbFind(text, kImageFileMissing);
        if (end == std::string_view::npos) {
            m_strPrevLine = raw;
            continue;
        }
        // Without its opening text the name starts where that text would have ended.
        size_t open = MbFind(text, kImageFileOpen);
        size_t start = open != std::string_view::npos ? open + kImageFileOpen.size() : kImageFileOpen.size() - 1;
        name = start < end ? Mid(text, start, end - start) : std::string();
        return true;
    }
    return false;
}

void CPSParser::RecordPicture(CBaseBlock& block, const std::string& name) {
    block.m_strFileName = FileNameOf(name);
    const Rect clip = PageUnitsToPoints(block.m_rcBox);
    const Rect image = PageUnitsToPoints(block.m_rcBound);
    std::string path;
    if (!FindImageFile(block.m_strFileName, path) && !FindResourcePath(block.m_strFileName, path)) path.clear();
    block.m_strImagePath = path;

    auto picture = std::make_unique<CImagePath>(clip, block.m_strFileName.c_str(), image);
    picture->SetImage(path, block.m_dAngle, true);
    picture->m_nShape = block.m_nShape;
    std::vector<Point>& outline = m_curBlock.m_arrPoints;
    if (outline.size() > 2) {
        picture->m_nShape = m_curBlock.m_nShape;
        for (const Point& p : outline)
            picture->m_arrOutline.push_back(MakePoint(PageUnitsToPoints(p.x), PageUnitsToPoints(p.y)));
        block.m_arrPoints = outline;
        outline.clear();
    }
    block.m_nID = static_cast<int32_t>(m_arrBlocks.size());
    m_arrImages.push_back(std::move(picture));
    m_arrBlocks.push_back(std::move(block));
}

}  // namespace kestrum
