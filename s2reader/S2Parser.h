// The reader for S2 pages: a little-endian stream of 32-bit glyph and operation
// words after a 2-word or 16-word header, mapped read-only from Open to ClearPage.
// LoadPage walks the stream once into text items and picture references, makes the
// page's blocks from them and puts every block into an article.
#pragma once

#include "parser/ParserFile.h"
#include "platform/Files.h"
#include "platform/Rect.h"
#include "s2reader/ArtItem.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrum {

class CImagePath;
class WordCursor;

// What a hostile stream can make one page hold; a page past them keeps what came
// before and reads on without adding more.
constexpr size_t kMaxS2TextItems = 20000;  // text items with text, each one block
constexpr size_t kMaxS2Pictures = 5000;    // picture records, each one picture block

class CS2Parser : public CParserFile {
public:
    CS2Parser();
    ~CS2Parser() override;

    bool Open(const std::string& path) override;
    // Reads the page anew: a second LoadPage without ClearPage gives the same page, not two.
    bool LoadPage() override;
    bool ClearPage() override;
    // The S2 reader cannot draw its page.
    bool RenderPageImage(const std::string& jpegPath, bool setPixelSize) override;

    // Maps the whole file read-only; null when it cannot be opened or mapped.
    static std::unique_ptr<MappedFile> MapFileReadOnly(const std::string& path, size_t& size);

    // Walks the stream into m_arrItems and m_arrImagePaths; measures the host's preview.
    bool DecodePage();
    // Makes a text block of every item with text and a picture block of every picture
    // reference, and the page's mean text size.
    bool BuildBlocks();
    // The text of an item, as kept in the text buffer.
    std::string_view ItemText(const St_ArtItem& item) const;

    int32_t m_nWordCount = 0;                // whole words in the file
    int32_t m_nHeaderWords = 0;              // 2 or 16: index of the first stream word
    std::unique_ptr<MappedFile> m_pView;     // the mapped file; null when none is open
    std::vector<Rect> m_arrGlyphRects;       // glyph rectangles of the item being built
    std::vector<char> m_pTextBuffer;         // texts of all items, each ended by a zero byte
    std::vector<St_ArtItem> m_arrItems;      // the page's items that have text, in stream order
    int32_t m_nItemCount = 0;                // items finished, with text or without: link numbers count them all
    std::vector<std::unique_ptr<CImagePath>> m_arrImagePaths;  // the page's picture references

private:
    class Decoder;
    void AddGlyph(St_ArtItem& item, int32_t x, int32_t y, int32_t width, int32_t height, uint32_t word);
    // Keeps the item (when it has text) and returns where the next item's text starts.
    size_t FinishItem(St_ArtItem& item);
    // Words the picture record at `start` occupies, 0 when it cannot be read whole.
    int32_t ReadPictureRecord(const WordCursor& words, int32_t start);
    void ReleaseFileState();
    void ReleasePage();
};

// Words the rule record at `start` occupies, 0 when a unit it needs lies past the end.
int32_t RuleRecordLength(const WordCursor& words, int32_t start);

}  // namespace kestrum
