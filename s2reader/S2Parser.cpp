// CS2Parser: the file mapping, the two header variants and the release of a page.
#include "s2reader/S2Parser.h"

#include "model/PageInfo.h"
#include "parser/FolderListings.h"
#include "platform/Path.h"
#include "psreader/ImagePath.h"

#include <climits>

namespace kestrum {

namespace {

constexpr uint16_t kShortHeaderMark = 0x8003;
constexpr size_t kShortHeaderBytes = 8;
constexpr size_t kLongHeaderBytes = 20;
constexpr int32_t kShortHeaderWords = 2;
constexpr int32_t kLongHeaderWords = 16;

struct Signature {
    uint16_t first;
    uint16_t second;
};
constexpr Signature kLongHeaderSignatures[] = {{0x1E4D, 0x0C37}, {0xAABB, 0xE2B9}};

uint16_t U16At(const unsigned char* data, size_t offset) {
    return static_cast<uint16_t>(data[offset] | (data[offset + 1] << 8));
}

}  // namespace

CS2Parser::CS2Parser() = default;

CS2Parser::~CS2Parser() { ClearPage(); }

std::unique_ptr<MappedFile> CS2Parser::MapFileReadOnly(const std::string& path, size_t& size) {
    auto view = std::make_unique<MappedFile>();
    if (!view->Open(path)) return nullptr;
    size = view->Size();
    return view;
}

bool CS2Parser::Open(const std::string& path) {
    m_pPageInfo->m_nPageNo = 1;
    m_pPageInfo->m_strTitle = BaseNameOf(path);
    m_strFilePath = path;
    // A reader reused without Close must neither leak nor keep using the earlier file.
    ReleaseFileState();

    size_t size = 0;
    std::unique_ptr<MappedFile> view = MapFileReadOnly(path, size);
    if (!view) return false;

    const unsigned char* data = view->Data();
    uint16_t width = 0;
    uint16_t height = 0;
    if (size >= kShortHeaderBytes && U16At(data, 0) == kShortHeaderMark && U16At(data, 4) == kShortHeaderMark) {
        width = U16At(data, 2);
        height = U16At(data, 6);
        m_nHeaderWords = kShortHeaderWords;
    } else {
        bool known = false;
        if (size >= kLongHeaderBytes) {
            for (const Signature& s : kLongHeaderSignatures)
                known = known || (U16At(data, 0) == s.first && U16At(data, 2) == s.second);
        }
        if (!known) return false;
        width = U16At(data, 16);
        height = U16At(data, 18);
        m_nHeaderWords = kLongHeaderWords;
    }

    m_pView = std::move(view);
    m_nWordCount = static_cast<int32_t>(std::min<size_t>(size / 4, INT32_MAX));
    m_dPageWidth = width;
    m_dPageHeight = height;
    m_pPageInfo->m_dWidth = m_dPageWidth;
    m_pPageInfo->m_dHeight = m_dPageHeight;
    return true;
}

bool CS2Parser::LoadPage() {
    ReleasePage();
    {
        const FolderListingScope listings(*this);
        DecodePage();
    }
    BuildBlocks();
    if (m_bGroupArticles)
        GroupArticles();
    else
        MakeSingleArticles();
    return true;
}

bool CS2Parser::ClearPage() {
    ReleaseFileState();
    ReleasePage();
    m_arrImageFolders.clear();
    return true;
}

bool CS2Parser::RenderPageImage(const std::string&, bool) { return false; }

void CS2Parser::ReleaseFileState() {
    m_pView.reset();
    m_nWordCount = 0;
}

void CS2Parser::ReleasePage() {
    m_arrItems.clear();
    m_arrItems.shrink_to_fit();
    m_nItemCount = 0;
    m_arrGlyphRects.clear();
    m_arrGlyphRects.shrink_to_fit();
    m_arrImagePaths.clear();
    m_pTextBuffer.clear();
    m_pTextBuffer.shrink_to_fit();
    DeletePageObjects();
}

}  // namespace kestrum
