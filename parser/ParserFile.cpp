#include "parser/ParserFile.h"

#include "model/Article.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"
#include "parser/FolderListings.h"
#include "parser/Image.h"
#include "platform/CodePage.h"
#include "platform/Mbcs.h"
#include "platform/Path.h"

namespace kestrum {

namespace {

// Gives the host's record back however the copying ends.
class HostRecord {
public:
    HostRecord(IAppExt* host, AppExtInfo* info) : m_host(host), m_info(info) {}
    ~HostRecord() { m_host->ReleaseInfo(&m_info); }
    HostRecord(const HostRecord&) = delete;
    HostRecord& operator=(const HostRecord&) = delete;

private:
    IAppExt* m_host;
    AppExtInfo* m_info;
};

// A folder entry ends with a separator; we add the one Linux uses where the host gave none.
std::string AsFolder(std::string folder) {
    if (!EndsWithSeparator(folder)) folder += '/';
    return folder;
}

}  // namespace

CParserFile::CParserFile() : m_pPageInfo(std::make_unique<CPageInfo>()), m_pArticles(std::make_unique<CArticleArray>()) {}

CParserFile::~CParserFile() { DeletePageObjects(); }

HRESULT CParserFile::ApplyHostSettings(IAppExt* host) {
    if (!host) return E_POINTER;
    AppExtInfo* info = nullptr;
    const HRESULT hr = host->GetInfo(&info, 0);
    if (FAILED(hr)) return hr;
    if (!info) return E_FAIL;
    const HostRecord giveBack(host, info);
    const AppExtInfo& settings = *info;

    // Convert everything first, so that running out of memory changes nothing.
    std::string label = WideToNarrow(settings.szPageLabel);
    std::string image = WideToNarrow(settings.szPageImage);
    std::string folders = WideToNarrow(settings.szImageFolders);

    m_bResourceLookup = settings.bResourceLookup;
    m_lReserved = settings.lReserved;
    m_bGroupArticles = settings.bGroupArticles;
    m_strPageLabel = std::move(label);
    m_strPageImage = std::move(image);
    m_strImageFolders = std::move(folders);
    m_pPageInfo->m_strLabel = m_strPageLabel;
    SetImageFolders(m_strImageFolders);
    return hr;
}

HRESULT CParserFile::CopyTextBlocks(CTextBlockArray& dest, ULONG) const {
    if (&dest == &m_arrTextBlocks) return E_INVALIDARG;
    dest.Append(m_arrTextBlocks);
    return S_OK;
}

HRESULT CParserFile::CopyPicBlocks(CPicBlockArray& dest, ULONG) const {
    if (&dest == &m_arrPicBlocks) return E_INVALIDARG;
    dest.Append(m_arrPicBlocks);
    return S_OK;
}

HRESULT CParserFile::CopyArticles(CArticleArray& dest, ULONG) const {
    if (!m_pArticles) return E_FAIL;
    if (&dest == m_pArticles.get()) return E_INVALIDARG;
    dest.Append(*m_pArticles);
    return S_OK;
}

void CParserFile::MeasurePageImage() {
    if (m_strPageImage.empty()) return;
    CxImage preview(CXIMAGE_FORMAT_UNKNOWN);
    const bool loaded = preview.Load(m_strPageImage, CXIMAGE_FORMAT_JPG);
    m_pPageInfo->m_dImageWidth = loaded ? preview.GetWidth() : 0.0;
    m_pPageInfo->m_dImageHeight = loaded ? preview.GetHeight() : 0.0;
}

void CParserFile::SetImageFolders(const std::string& list) {
    m_arrImageFolders.clear();
    std::string rest = list;
    for (size_t n = MbFind(rest, ";"); n != std::string::npos; n = MbFind(rest, ";")) {
        // An empty entry still counts: it becomes a lone separator.
        m_arrImageFolders.push_back(AsFolder(Left(rest, n)));
        rest = Mid(rest, n + 1);
    }
    // A last entry of a single character is no folder.
    if (rest.size() > 1) m_arrImageFolders.push_back(AsFolder(std::move(rest)));
}

void CParserFile::DeletePageObjects() {
    if (m_pArticles) m_pArticles->DeleteAll();
    m_arrTextBlocks.DeleteAll();
    m_arrPicBlocks.DeleteAll();
}

}  // namespace kestrum
