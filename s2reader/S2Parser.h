// The reader for S2 pages: a little-endian stream of 32-bit glyph and operation
// words after a 2-word or 16-word header, mapped read-only from Open to ClearPage.
#pragma once

#include "parser/ParserFile.h"
#include "platform/Files.h"
#include "platform/Rect.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrum {

class CImagePath;

class CS2Parser : public CParserFile {
public:
    CS2Parser();
    ~CS2Parser() override;

    bool Open(const std::string& path) override;
    bool LoadPage() override;
    bool ClearPage() override;
    // The S2 reader cannot draw its page.
    bool RenderPageImage(const std::string& jpegPath, bool setPixelSize) override;

    // Maps the whole file read-only; null when it cannot be opened or mapped.
    static std::unique_ptr<MappedFile> MapFileReadOnly(const std::string& path, size_t& size);

    int32_t m_nWordCount = 0;                // whole words in the file
    int32_t m_nHeaderWords = 0;              // 2 or 16: index of the first stream word
    std::unique_ptr<MappedFile> m_pView;     // the mapped file; null when none is open
    std::vector<std::unique_ptr<CImagePath>> m_arrImagePaths;  // the page's picture references

private:
    void ReleaseFileState();
};

}  // namespace kestrum
