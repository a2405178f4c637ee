// CPSParser: construction, recognition of the dialect, the trailer's resource list
// and the release of a page.
#include "psreader/PSParser.h"

#include "model/PageInfo.h"
#include "platform/Files.h"
#include "platform/Mbcs.h"
#include "platform/Path.h"
#include "psreader/ImagePath.h"

#include <algorithm>
#include <cstring>

namespace kestrum {

namespace {

// "%%Creator:(华光易捷杂志排版系统)" in GBK.
constexpr std::string_view kCreatorComment =
    "%%Creator:(\xBB\xAA\xB9\xE2\xD2\xD7\xBD\xDD\xD4\xD3\xD6\xBE\xC5\xC5\xB0\xE6\xCF\xB5\xCD\xB3)";
constexpr size_t kCreatorWindow = 200;  // the creator comment must lie wholly in these first bytes
constexpr size_t kTrailerWindow = 1000;  // the resource list is read from the last bytes

constexpr std::string_view kResourceStart = "DocResourceStart:";
constexpr std::string_view kResourceEnd = "DocResourceEnd:";
constexpr size_t kResourceStartSkip = 18;  // the marker and the line break after it

constexpr uint16_t kFullWidthZero = 0xA3B0;

// The bytes as a C string: up to the first zero byte.
std::string_view UpToZero(const unsigned char* data, size_t size) {
    const void* zero = std::memchr(data, 0, size);
    size_t length = zero ? static_cast<size_t>(static_cast<const unsigned char*>(zero) - data) : size;
    return std::string_view(reinterpret_cast<const char*>(data), length);
}

}  // namespace

CPSParser::CPSParser() {
    for (uint16_t n = 0; n < 10; ++n) m_arrReplaceCodes.push_back({static_cast<uint16_t>(kFullWidthZero + n), static_cast<uint16_t>('0' + n)});
}

CPSParser::~CPSParser() { ClearPage(); }

bool CPSParser::Open(const std::string& path) {
    m_pPageInfo->m_nPageNo = 1;
    m_pPageInfo->m_strTitle = BaseNameOf(path);
    // A reader reused without Close must not carry the earlier file's resources.
    ResetFileState();

    FileContents file;
    if (!file.Open(path)) return false;
    m_strFilePath = path;

    std::string_view head = UpToZero(file.Data(), std::min(file.Size(), kCreatorWindow));
    if (head.find(kCreatorComment) == std::string_view::npos) return false;

    // A page shorter than the trailer window is read as a whole.
    size_t tailStart = file.Size() > kTrailerWindow ? file.Size() - kTrailerWindow : 0;
    ReadDocResources(std::string(UpToZero(file.Data() + tailStart, file.Size() - tailStart)));
    return true;
}

bool CPSParser::ReadDocResources(std::string tail) {
    for (size_t at = MbFind(tail, kResourceStart); at != std::string::npos; at = MbFind(tail, kResourceStart))
        tail = Mid(tail, at + kResourceStartSkip);

    size_t end = MbFind(tail, kResourceEnd);
    if (end == std::string::npos) return false;
    std::string text = TrimLeftChar(Left(tail, end), '%');

    while (!text.empty()) {
        std::string item;
        size_t split = MbFind(text, "%%");
        if (split != std::string::npos) {
            item = Left(text, split);
            text = Mid(text, split + 2);
        } else {
            item = std::move(text);
            text.clear();
        }
        item = TrimRight(item);
        if (item.empty()) continue;
        if (std::find(m_arrResources.begin(), m_arrResources.end(), item) != m_arrResources.end()) continue;
        m_arrResources.push_back(std::move(item));
    }
    return true;
}

bool CPSParser::FindResourcePath(const std::string& fileName, std::string& out) const {
    if (!m_bResourceLookup) return false;
    for (const std::string& entry : m_arrResources) {
        if (MbEqualNoCase(FileNameOf(entry), fileName) && PathExists(entry)) {
            out = entry;
            return true;
        }
    }
    return false;
}

bool CPSParser::ClearPage() {
    m_arrImages.clear();
    RemovePreviews();
    ResetFileState();
    m_arrImageFolders.clear();
    m_arrBlocks.clear();
    m_arrBlocks.shrink_to_fit();
    DeletePageObjects();
    // The next file's first box or picture must not inherit this file's path and last line.
    m_curBlock = CBaseBlock();
    m_strPrevLine.clear();
    return true;
}

void CPSParser::ResetFileState() { m_arrResources.clear(); }

}  // namespace kestrum
