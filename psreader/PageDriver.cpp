// The page driver: the page setup gives the page size, then every body line is
// handed to the handler of its kind.
#include "model/PageInfo.h"
#include "parser/FolderListings.h"
#include "platform/Files.h"
#include "platform/Mbcs.h"
#include "psreader/LineScanner.h"
#include "psreader/PSParser.h"
#include "psreader/PageFile.h"
#include "textasm/TextReadAhead.h"

namespace kestrum {

namespace {

constexpr std::string_view kBoundingBox = "%%BoundingBox: ";
constexpr size_t kBoundingBoxOperands = 15;  // the numbers follow the line's first bytes
constexpr std::string_view kEndPageSetup = "%%EndPageSetup";
constexpr size_t kSetupLineMin = 14;         // raw lengths of the lines the setup search reads
constexpr size_t kSetupLineMax = 50;
constexpr size_t kSetupSkipTo = 40000;       // the prolog before the setup's end is not read
constexpr double kPageUnitsPerInch = 7420.0;
constexpr double kPointsPerInch = 72.0;

constexpr size_t kBodyLineMin = 3;           // raw lengths of the body lines the driver reads
constexpr size_t kBodyLineMax = 250;
constexpr std::string_view kArticleHeader = " of Article ";
constexpr std::string_view kErrorHandler = "errordict /undefinedfilename";
constexpr std::string_view kErrorHandlerPut = "{errio} put";
constexpr std::string_view kBeginDocument = "%%BeginDocument: ";
constexpr std::string_view kRuleMarkers[] = {" rectfill", " rectstroke", " l st"};
constexpr std::string_view kStroke = "st";
constexpr std::string_view kSave = "gs ";
constexpr std::string_view kMoveTo = " m ";
constexpr std::string_view kPageEnd = "%end of page 1";

bool IsPictureTrigger(std::string_view text) {
    return MbContains(text, kErrorHandler) && MbContains(text, "\t") && MbContains(text, kErrorHandlerPut);
}

bool IsRuleOrBox(std::string_view text) {
    for (std::string_view marker : kRuleMarkers)
        if (MbContains(text, marker)) return true;
    return text == kStroke;
}

}  // namespace

bool CPSParser::LoadPage() {
    m_bLoadGroupArticles = m_bGroupArticles;
    // The text blocks are read for finishing while the page is still being read.
    TextReadAhead ahead(m_arrReplaceCodes, m_arrSymbolCodes);
    m_pTextAhead = &ahead;
    struct Lent {
        TextReadAhead*& at;
        ~Lent() { at = nullptr; }  // before `ahead` goes, however LoadPage ends
    } lent{m_pTextAhead};
    const FolderListingScope listings(*this);
    ParsePage();
    FinishPage();
    JoinTitleLines();
    return true;
}

bool CPSParser::ParsePage() {
    FileContents contents;
    if (!contents.Open(m_strFilePath)) return false;
    PageFile file(contents.Data(), contents.Size());

    if (!ReadPageSetup(file)) {
        // A page without a size stays empty; its page information stays for the host.
        m_dPageWidth = m_dPageHeight = 0.0;
        m_pPageInfo->m_dWidth = m_pPageInfo->m_dHeight = 0.0;
        m_pPageInfo->m_dImageWidth = m_pPageInfo->m_dImageHeight = 0.0;
        return false;
    }
    m_pPageInfo->m_dWidth = m_dPageWidth;
    m_pPageInfo->m_dHeight = m_dPageHeight;
    MeasurePageImage();

    file.SetBodyStart(file.Tell());
    std::string_view raw;
    while (file.ReadLine(raw)) {
        if (raw.size() < kBodyLineMin || raw.size() > kBodyLineMax) continue;
        const std::string_view text = StripLineFeed(raw);
        size_t at;
        if ((at = MbFind(text, kArticleHeader)) != std::string_view::npos) {
            ReadArticle(file, Atoi(Mid(text, at + kArticleHeader.size())), 0, 0);
        } else if (IsPictureTrigger(text)) {
            ReadPicture(file);
        } else if ((at = MbFind(text, kBeginDocument)) != std::string_view::npos) {
            ReadEmbeddedDocument(file, Mid(text, at + kBeginDocument.size()));
        } else if (IsRuleOrBox(text)) {
            ReadRuleOrBox(file, text, 0, 0);
        } else if (MbContains(text, kSave) && MbContains(text, kMoveTo)) {
            ReadPath(file, text);
        } else if (MbContains(text, kPageEnd)) {
            break;
        } else {
            m_strPrevLine = raw;
        }
    }
    return true;
}

bool CPSParser::ReadPageSetup(PageFile& file) {
    bool seenBox = false;
    std::string_view raw;
    while (file.ReadLine(raw)) {
        if (raw.size() < kSetupLineMin || raw.size() > kSetupLineMax) continue;
        const std::string_view text = StripLineFeed(raw);
        if (seenBox) {
            if (MbContains(text, kEndPageSetup)) return true;
        } else if (MbContains(text, kBoundingBox)) {
            auto box = Numbers<4>(Mid(text, kBoundingBoxOperands));
            m_dPageWidth = (static_cast<double>(box[2]) - box[0]) * kPageUnitsPerInch / kPointsPerInch;
            m_dPageHeight = (static_cast<double>(box[3]) - box[1]) * kPageUnitsPerInch / kPointsPerInch;
            file.Seek(kSetupSkipTo);
            seenBox = true;
        }
    }
    return seenBox;
}

}  // namespace kestrum
