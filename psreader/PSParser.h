// The reader for PostScript pages of the magazine typesetting system. One class, as
// the reader base needs; its member functions are defined in the files of the rooms
// they belong to (psreader: recognition, trailer, driver; pscontent: the body handlers;
// textasm: block finishing; layout: title joining).
#pragma once

#include "parser/ParserFile.h"
#include "pscontent/Records.h"

#include <memory>
#include <string_view>
#include <string>
#include <vector>

namespace kestrum {

class CImagePath;
class DrawContext;
class PageFile;
class ByteSet;
class TextReadAhead;
struct ArticleState;

class CPSParser : public CParserFile {
public:
    CPSParser();
    ~CPSParser() override;

    bool Open(const std::string& path) override;
    bool LoadPage() override;
    bool ClearPage() override;
    bool RenderPageImage(const std::string& jpegPath, bool setPixelSize) override;
    // Draws the collected rules, boxes, pictures and characters into a printing context.
    void DrawPage(DrawContext& dc);

    // Trailer resource list: parses the tail text; true when its end marker was found.
    bool ReadDocResources(std::string tail);
    // Full path of the listed resource file named `fileName` (case-insensitive), when
    // resource lookup is on and the file exists.
    bool FindResourcePath(const std::string& fileName, std::string& out) const;
    // Makes the host's text and picture blocks from m_arrBlocks; true.
    bool FinishPage();
    // Joins the lines of multi-line titles: 1 for a page without blocks, E_FAIL without titles, else 0.
    int32_t JoinTitleLines();

    // The page driver. ParsePage: false when the file cannot be opened or has no
    // bounding box. ReadPageSetup: the page size from the bounding box; true when found.
    bool ParsePage();
    bool ReadPageSetup(PageFile& file);

    // Body handlers. Each reads on from the file's position (just after its trigger
    // line) and leaves the file where the driver continues.
    bool ReadArticle(PageFile& file, int32_t article, int32_t originX, int32_t originY);
    bool ReadPicture(PageFile& file);
    bool ReadPath(PageFile& file, std::string_view line);
    bool ReadRuleOrBox(PageFile& file, std::string_view line, int32_t offsetX, int32_t offsetY);
    // An embedded EPS document named `name`: a picture of the page, with a preview drawn
    // by a second reader when the document can be read.
    bool ReadEmbeddedDocument(PageFile& file, const std::string& name);
    // Colour of a Separation line and its tint line (read from the file); false without
    // " setcolorspace". `line` becomes the colour name.
    bool ReadSeparationColour(PageFile& file, std::string& line, uint32_t& colour);
    // Colour for the rule or box just read, from m_strPrevLine and the bytes before it.
    uint32_t ReadPrevLineColour(PageFile& file);

    // Text: steps of ReadArticle on m_curWord and the article's working state.
    bool SetFontFromLine(size_t markerPos, std::string_view line, float scaleX, float scaleY);
    // Origin and rectangle of m_curWord; advances are given for shown strings only.
    void PlaceChar(int32_t x, int32_t y, Point& extent, float scaleX, float scaleY, bool hasAdvances = false,
                   int32_t prevAdvance = 0, int32_t nextAdvance = 0);
    void AppendChar(std::vector<St_WordInfo>& chars, CBaseBlock& block, Rect& lastRect);
    bool CheckTitle(CBaseBlock& block, const std::vector<St_WordInfo>& chars, int32_t maxSize) const;
    bool LookAheadForTitle(PageFile& file, float scaleX, float scaleY, const std::vector<St_WordInfo>& chars) const;
    void AppendBlock(CBaseBlock& block, int32_t extentX, int32_t extentY, int32_t minSize, int32_t maxSize);

    float m_fRenderScale = 2.0f;          // pixels per point when the page is drawn
    int32_t m_nTitleMaxChars = 60;        // a title run has fewer characters than this
    int32_t m_nTitleMinSize = 1750;       // ... and a font size of at least this (page units)
    std::string m_strPrevLine;            // last line no handler consumed
    std::vector<std::string> m_arrResources;  // trailer resource paths, first appearance, no duplicates
    CBaseBlock m_curBlock;                // block being filled; holds the current path
    // Blocks of the page in completion order. A block stays where it is once added, so
    // that finishing can read it while later ones are added.
    BlockList m_arrBlocks;
    std::vector<std::unique_ptr<CImagePath>> m_arrImages;  // picture references of the page
    St_WordInfo m_curWord;                // character being filled
    std::vector<St_ReplaceCode> m_arrReplaceCodes;  // ordinary fonts: full-width digits to ASCII
    std::vector<St_ReplaceCode> m_arrSymbolCodes;   // typesetting-symbol fonts (left empty)
    int32_t m_bLoadGroupArticles = 1;     // copy of m_bGroupArticles taken at each LoadPage

    // Embedded documents inside embedded documents are read this deep, no deeper.
    static constexpr int kMaxDocumentDepth = 8;
    // Pixels all the previews of one page may have together, nested ones included: a
    // page of many documents with huge bounding boxes must not draw for hours.
    static constexpr double kPreviewPixelBudget = 64.0 * 1024 * 1024;

private:
    // Per-file state that Open and ClearPage drop.
    void ResetFileState();

    size_t m_nBodyCharsHint = 0;  // characters of the last article's closing block: room for the next

    // Steps of ReadArticle on its working state. ArticleLine: true when the line ends the article.
    bool ArticleLine(PageFile& file, ArticleState& st, std::string& line);
    void EndArticle(ArticleState& st, std::string_view line);
    void ScaleLine(PageFile& file, ArticleState& st, std::string_view line, size_t markerPos);
    void FontLine(ArticleState& st, std::string_view line, size_t markerPos);
    void NoteFontSize(ArticleState& st) const;
    bool ShowLineAt(ArticleState& st, std::string_view line, const ByteSet& bytes);
    // `vertical`: the line holds the vertical show marker somewhere.
    void ShowLine(ArticleState& st, std::string_view line, size_t markerPos, bool vertical);
    void DefineBlock(PageFile& file, ArticleState& st, std::string_view line, size_t markerPos);
    bool PlaceDefinedGlyph(ArticleState& st, std::string_view text, size_t move);
    void ParagraphBreak(PageFile& file, ArticleState& st);
    void SearchOrigin(PageFile& file, ArticleState& st);

    // Steps of the rule and box handler. OperatorColour: the colour of a " sc " or " sg"
    // operator in `text` (else of the line before), `rest` the text after the operator.
    uint32_t OperatorColour(PageFile& file, std::string_view text, std::string& rest);
    // A rule's colour from m_strPrevLine, else from a line-cap line up to `lookBack` bytes back.
    uint32_t RuleColour(PageFile& file, int64_t lookBack);
    uint32_t LineCapColour(PageFile& file, int64_t lookBack);
    void ReadBrokenLine(PageFile& file, CBaseBlock& block);

    // Steps of the embedded-document handler. ExtractDocument: true when the end line
    // was reached with a document taken; RenderPreview: the preview's path, or empty.
    Rect EoClipRect(PageFile& file);
    Rect EpsFrame(PageFile& file);
    bool ExtractDocument(PageFile& file, const std::string& name, std::string& document);
    std::string RenderPreview(const std::string& name, const std::string& document);
    std::string PreviewTag() const;
    // Removes the previews this page's pictures name; they live as long as the page.
    void RemovePreviews();

    int m_nDocumentDepth = 0;             // 0 for the host's page, 1 for a document in it, ...
    double m_dPreviewPixelsLeft = kPreviewPixelBudget;
    std::vector<std::string> m_arrPreviews;  // preview files we created for this page

    // Steps of the picture handler.
    void LookBackForPlacement(PageFile& file, CBaseBlock& block);
    // Reads to the error message line naming the image file; false at the end of the file.
    bool FindImageMessage(PageFile& file, std::string& name);
    void RecordPicture(CBaseBlock& block, const std::string& name);

    int m_nArticleDepth = 0;  // ReadArticle calls under way
    // Lent by LoadPage for its length: the text blocks go to it as they are added.
    TextReadAhead* m_pTextAhead = nullptr;
};

}  // namespace kestrum
