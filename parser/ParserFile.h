// The reader base: the state of the one open page file that both readers share
// (page size, page information, loose text and picture blocks, articles, host
// settings), the host-settings and list-copy operations, and the picture-file and
// page-image services.
#pragma once

#include <kestrum/kestrum.h>

#include "model/BlockLists.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrum {

class CPageInfo;
class FolderListings;

class CParserFile {
public:
    CParserFile();
    virtual ~CParserFile();
    CParserFile(const CParserFile&) = delete;
    CParserFile& operator=(const CParserFile&) = delete;

    virtual bool Open(const std::string& path) = 0;
    virtual bool LoadPage() = 0;
    virtual bool ClearPage() = 0;
    virtual bool RenderPageImage(const std::string& jpegPath, bool setPixelSize) = 0;

    // Copies the host's options, strings and folders; see IAppExt.
    HRESULT ApplyHostSettings(IAppExt* host);
    std::string GetPageImagePath() const { return m_strPageImage; }
    HRESULT CopyTextBlocks(CTextBlockArray& dest, ULONG flags) const;
    HRESULT CopyPicBlocks(CPicBlockArray& dest, ULONG flags) const;
    HRESULT CopyArticles(CArticleArray& dest, ULONG flags) const;

    // The host's preview image, when it names one: its pixel size goes into the page
    // information (0 and 0 when it does not load).
    void MeasurePageImage();

    // Picture files in the host's folders.
    void SetImageFolders(const std::string& list);
    bool FindImageFile(const std::string& name, std::string& out);
    bool SearchImageFolder(const std::string& name, const std::string& folder, std::string& out);
    bool SearchImageFolders(const std::string& name, std::string& out);
    BOOL FindImageByExtensions(const std::string& base, std::string& out, BOOL enable);

    // Article assembly of an S2 page (layout/): one article per block, or the page's
    // blocks grouped into articles. Either leaves every block in an article and the
    // loose lists empty, the articles numbered and with their HTML.
    void MakeSingleArticles();
    void GroupArticles();
    // Numbers the page's articles by position and has each build its HTML.
    void FinishArticles();

    // Deletes the page's articles, loose text blocks and pictures with everything they
    // own, and empties the lists. Shared by both readers' ClearPage.
    void DeletePageObjects();

    std::vector<std::string> m_arrImageFolders;  // folders from the host's list, each ending with a separator
    std::string m_strFilePath;                   // path of the open page file, as passed to Open
    double m_dPageWidth = 0.0;                   // page units of the reader
    double m_dPageHeight = 0.0;
    std::unique_ptr<CPageInfo> m_pPageInfo;      // owner page of every block and article
    std::unique_ptr<CArticleArray> m_pArticles;  // owns the articles
    CTextBlockArray m_arrTextBlocks;             // loose text blocks, owned
    CPicBlockArray m_arrPicBlocks;               // loose picture blocks, owned
    std::string m_strPageImage;                  // host's preview image
    int32_t m_bResourceLookup = 0;               // host option: match the trailer's resources
    int32_t m_lReserved = 0;                     // host value read by nothing
    int32_t m_bGroupArticles = 0;                // host option: article grouping
    std::string m_strPageLabel;                  // host page label
    std::string m_strImageFolders;               // host's folder list as given
    std::string m_strLastImageFolder;            // folder of the last picture found
    int32_t m_bLastImageFolder = 0;              // m_strLastImageFolder holds a folder
    std::unique_ptr<FolderListings> m_pFolderListings;  // while a page loads: each folder listed once
};

}  // namespace kestrum
