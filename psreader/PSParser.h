// The reader for PostScript pages of the magazine typesetting system. One class, as
// the reader base needs; its member functions are defined in the files of the rooms
// they belong to (psreader: recognition, trailer, driver; pscontent: the body handlers;
// textasm: block finishing; layout: title joining).
#pragma once

#include "parser/ParserFile.h"
#include "pscontent/Records.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrum {

class CImagePath;

class CPSParser : public CParserFile {
public:
    CPSParser();
    ~CPSParser() override;

    bool Open(const std::string& path) override;
    bool LoadPage() override;
    bool ClearPage() override;
    bool RenderPageImage(const std::string& jpegPath, bool setPixelSize) override;

    // Trailer resource list: parses the tail text; true when its end marker was found.
    bool ReadDocResources(std::string tail);
    // Full path of the listed resource file named `fileName` (case-insensitive), when
    // resource lookup is on and the file exists.
    bool FindResourcePath(const std::string& fileName, std::string& out) const;
    // Makes the host's text and picture blocks from m_arrBlocks; true.
    bool FinishPage();
    // Joins the lines of multi-line titles: 1 for a page without blocks, E_FAIL without titles, else 0.
    int32_t JoinTitleLines();

    float m_fRenderScale = 2.0f;          // pixels per point when the page is drawn
    int32_t m_nTitleMaxChars = 60;        // a title run has fewer characters than this
    int32_t m_nTitleMinSize = 1750;       // ... and a font size of at least this (page units)
    std::string m_strPrevLine;            // last line no handler consumed
    std::vector<std::string> m_arrResources;  // trailer resource paths, first appearance, no duplicates
    CBaseBlock m_curBlock;                // block being filled; holds the current path
    std::vector<CBaseBlock> m_arrBlocks;  // blocks of the page in completion order
    std::vector<std::unique_ptr<CImagePath>> m_arrImages;  // picture references of the page
    St_WordInfo m_curWord;                // character being filled
    std::vector<St_ReplaceCode> m_arrReplaceCodes;  // ordinary fonts: full-width digits to ASCII
    std::vector<St_ReplaceCode> m_arrSymbolCodes;   // typesetting-symbol fonts (left empty)
    int32_t m_bLoadGroupArticles = 1;     // copy of m_bGroupArticles taken at each LoadPage

private:
    // Per-file state that Open and ClearPage drop.
    void ResetFileState();
};

}  // namespace kestrum
