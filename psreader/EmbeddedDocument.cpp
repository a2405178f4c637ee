// EPS graphics embedded in a page as whole documents: cut out, read by a second reader,
// drawn into a JPEG preview, and recorded as a picture of the page.
#include "platform/Draw.h"
#include "platform/Files.h"
#include "platform/Mbcs.h"
#include "platform/Path.h"
#include "platform/TempFile.h"
#include "psreader/ImagePath.h"
#include "psreader/LineScanner.h"
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kestrum {

namespace {

constexpr std::string_view kRectClip = " rectclip ";
constexpr std::string_view kEoClip = "eoclip np";
constexpr std::string_view kSave = "gs ";
constexpr std::string_view kPathStart = "gs np ";
constexpr std::string_view kMoveTo = " m ";
constexpr std::string_view kLineTo = " l";
constexpr std::string_view kBeginEpsf = "BeginEPSF";
constexpr std::string_view kEndEpsf = "EndEPSF";
constexpr std::string_view kTranslate = " tr ";
constexpr std::string_view kScale = " scale ";
constexpr std::string_view kDocumentStart = "%!PS-Adobe-3.0";
constexpr std::string_view kDocumentEnd = "%%EndDocument: ";
constexpr std::string_view kNestedStart = "%%BeginDocument: ";
constexpr size_t kShortestLine = 3;       // shorter lines are passed over
constexpr int64_t kClipLookBack = 150;    // bytes before the document where its clip path lies
constexpr int32_t kNoMinimum = 100000;    // where the search for the clip path's minima starts
constexpr size_t kLongestStem = 60;       // bytes of the document's name kept in our file names
constexpr std::string_view kPreviewExtension = ".jpg";
constexpr std::string_view kExtractionExtension = ".eps";

std::string WithoutSaves(std::string_view text) {
    std::string s(text);
    MbReplaceAll(s, kSave, "");
    return s;
}

Rect RectClip(std::string_view line, size_t at) {
    const auto v = Numbers<4>(WithoutSaves(line.substr(0, at)));
    const int32_t left = trunc32(v[0]), top = trunc32(v[1]);
    return MakeRect(left, top, Saturate32(int64_t{left} + trunc32(v[2])), Saturate32(int64_t{top} + trunc32(v[3])));
}

Point PointOf(std::string_view text) {
    const auto v = Numbers<2>(text);
    return MakePoint(trunc32(v[0]), trunc32(v[1]));
}

// The document's name as the stem of our file names: its base name, cut short at a
// character boundary; a name of nothing but a folder still gives a stem.
std::string FileStem(std::string_view name) {
    std::string base = BaseNameOf(name);
    std::string_view rest = base;
    size_t keep = 0;
    uint16_t code;
    while (!rest.empty()) {
        const size_t before = rest.size();
        TakeChar(rest, code);
        const size_t taken = before - rest.size();
        if (keep + taken > kLongestStem || code == 0) break;
        keep += taken;
    }
    base.resize(keep);
    return base.empty() ? std::string("document") : base;
}

}  // namespace

Rect CPSParser::EoClipRect(PageFile& file) {
    const size_t here = file.Tell();
    file.SeekRelative(-kClipLookBack);
    std::vector<Point> points;
    bool started = false;
    std::string_view raw;
    while (file.ReadLine(raw)) {
        const std::string_view text = StripLineFeed(raw);
        if (file.Tell() >= here || MbContains(text, kEoClip)) break;
        if (raw.size() < kShortestLine) continue;
        size_t at;
        if ((at = MbFind(text, kPathStart)) != std::string_view::npos) {
            const std::string_view path = text.substr(at + kPathStart.size());
            const size_t move = MbFind(path, kMoveTo);
            points.push_back(PointOf(move == std::string_view::npos ? std::string_view() : path.substr(move + kMoveTo.size())));
            points.push_back(PointOf(path.substr(0, move)));
            started = true;
        } else if (started && (at = MbFind(text, kLineTo)) != std::string_view::npos) {
            points.push_back(PointOf(text.substr(0, at)));
        } else {
            m_strPrevLine = text;
        }
    }
    file.Seek(here);
    if (points.empty()) return Rect{};
    Rect box = MakeRect(kNoMinimum, kNoMinimum, 0, 0);
    for (const Point& p : points) {
        box.left = std::min(box.left, p.x);
        box.top = std::min(box.top, p.y);
        box.right = std::max(box.right, p.x);
        box.bottom = std::max(box.bottom, p.y);
    }
    return box;
}

Rect CPSParser::EpsFrame(PageFile& file) {
    std::string_view raw;
    bool found = false;
    while (!found && file.ReadLine(raw)) found = raw.size() >= kShortestLine && StripLineFeed(raw) == kBeginEpsf;
    if (!found) return Rect{};
    const std::string transform = file.ReadLine(raw) ? std::string(StripLineFeed(raw)) : std::string();
    const Point at = PointOf(WithoutSaves(Before(transform, kTranslate)));
    const size_t scale = MbFind(transform, kScale);
    const auto half = Numbers<2>(scale == std::string::npos ? std::string() : Before(Mid(transform, scale + kScale.size()), kTranslate));
    const int32_t w = trunc32(-2.0 * half[0]) / 2, h = trunc32(-2.0 * half[1]) / 2;
    return MakeRect(Saturate32(int64_t{at.x} - w), Saturate32(int64_t{at.y} - h), Saturate32(int64_t{at.x} + w),
                    Saturate32(int64_t{at.y} + h));
}

bool CPSParser::ExtractDocument(PageFile& file, const std::string& name, std::string& document) {
    const std::string endMarker = std::string(kDocumentEnd) + name;
    bool writing = false;
    // Documents inside this one are copied whole: their start lines do not begin this
    // document again, nor does their end line end it.
    int nested = 0;
    std::string_view raw;
    while (file.ReadLine(raw)) {
        if (raw.size() < kShortestLine) continue;
        const std::string_view text = StripLineFeed(raw);
        if (nested == 0 && MbContains(text, kDocumentStart)) {
            // A second start line begins the document again.
            document.clear();
            writing = true;
        } else if (nested == 0 && MbContains(text, endMarker)) {
            return writing;
        } else if (writing && MbContains(text, kNestedStart)) {
            ++nested;
        } else if (writing && nested > 0 && MbContains(text, kDocumentEnd)) {
            --nested;
        }
        if (writing && text != kEndEpsf) document += raw;
        m_strPrevLine = raw;
    }
    return false;
}

// The same page gives its previews the same names each time it is read, so that what
// a host exports from it does not change from run to run: a hash of the page's path
// and of the block the preview will be.
std::string CPSParser::PreviewTag() const {
    uint32_t hash = 2166136261u;  // FNV-1a
    auto mix = [&hash](std::string_view bytes) {
        for (unsigned char c : bytes) hash = (hash ^ c) * 16777619u;
    };
    mix(m_strFilePath);
    mix(std::to_string(m_arrBlocks.size()));
    char tag[9];
    std::snprintf(tag, sizeof tag, "%08x", hash);
    return tag;
}

std::string CPSParser::RenderPreview(const std::string& name, const std::string& document) {
    // Deeper documents are recorded without a preview: each level is a reader of its own.
    if (m_nDocumentDepth >= kMaxDocumentDepth) return {};
    const std::string stem = FileStem(name);
    const std::string extraction = CreateUniqueFile(TempFolder(), stem, kExtractionExtension, document);
    if (extraction.empty()) return {};

    std::string preview;
    {
        CPSParser inner;
        inner.m_arrImageFolders = m_arrImageFolders;
        inner.m_nDocumentDepth = m_nDocumentDepth + 1;
        inner.m_dPreviewPixelsLeft = m_dPreviewPixelsLeft;
        if (inner.Open(extraction)) {
            inner.ParsePage();
            m_dPreviewPixelsLeft = inner.m_dPreviewPixelsLeft;
            const double pixels = std::fabs(inner.m_dPageWidth * 72 / 7420 * inner.m_fRenderScale) *
                                  std::fabs(inner.m_dPageHeight * 72 / 7420 * inner.m_fRenderScale);
            if (pixels <= m_dPreviewPixelsLeft) {
                m_dPreviewPixelsLeft -= pixels;
                preview = CreateUniqueFile(TempFolder(), stem, kPreviewExtension, {}, PreviewTag());
                if (!preview.empty() && !inner.RenderPageImage(preview, false)) {
                    RemoveFile(preview);
                    preview.clear();
                }
            }
            inner.ClearPage();
        }
    }
    RemoveFile(extraction);
    if (!preview.empty()) m_arrPreviews.push_back(preview);
    return preview;
}

bool CPSParser::ReadEmbeddedDocument(PageFile& file, const std::string& name) {
    Rect visible{};
    size_t at;
    if ((at = MbFind(m_strPrevLine, kRectClip)) != std::string::npos)
        visible = RectClip(m_strPrevLine, at);
    else if (MbContains(m_strPrevLine, kEoClip))
        visible = EoClipRect(file);
    const Rect frame = EpsFrame(file);

    std::string picturePath = name;
    std::string document;
    if (ExtractDocument(file, name, document)) {
        std::string preview = RenderPreview(name, document);
        if (!preview.empty()) picturePath = std::move(preview);
    }
    if (visible.right <= visible.left || visible.bottom <= visible.top) visible = frame;

    CBaseBlock block;
    block.m_nKind = kBlockPicture;
    block.m_nID = static_cast<int32_t>(m_arrBlocks.size()) - 1;
    block.m_rcBox = visible;
    block.m_rcBound = frame;
    block.m_strFileName = FileNameOf(picturePath);
    block.m_strImagePath = picturePath;
    auto picture =
        std::make_unique<CImagePath>(PageUnitsToPoints(visible), block.m_strFileName.c_str(), PageUnitsToPoints(frame));
    picture->SetImage(picturePath, 0.0, true);
    m_arrImages.push_back(std::move(picture));
    m_arrBlocks.push_back(std::move(block));
    return true;
}

void CPSParser::RemovePreviews() {
    for (const std::string& preview : m_arrPreviews) RemoveFile(preview);
    m_arrPreviews.clear();
    m_dPreviewPixelsLeft = kPreviewPixelBudget;
}

}  // namespace kestrum
