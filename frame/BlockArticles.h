// The adaptor's article-number extension (IBlockArticles): it answers for the blocks
// of the loaded page, which it knows by address from an index built when the page
// loads, so that a pointer the host passes is looked up and never called.
#pragma once

#include <kestrum/kestrum.h>

#include <unordered_map>

namespace kestrum {

class CParserFile;
class CPicBlock;
class CTextBlock;
class CTextBlockArray;

class CBlockArticles final : public IBlockArticles {
public:
    // IUnknown calls go to `controlling`, the adaptor's identity.
    explicit CBlockArticles(IUnknown* controlling) : m_pControlling(controlling) {}
    CBlockArticles(const CBlockArticles&) = delete;
    CBlockArticles& operator=(const CBlockArticles&) = delete;

    HRESULT QueryInterface(REFIID riid, void** ppv) override;
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetTextBlockArticle(ITextBlock* pBlock, LONG* pArticle) override;
    HRESULT GetPicBlockArticle(IPicBlock* pBlock, LONG* pArticle) override;

    // Every block the reader can hand out for its page: loose blocks, article roles,
    // pictures, captions, and the parts of composites at any depth.
    void IndexPage(const CParserFile& reader);
    // The page's blocks are gone or about to go.
    void ForgetPage();

private:
    void IndexLists(const CParserFile& reader);
    void IndexText(const CTextBlock* block);
    void IndexTexts(const CTextBlockArray& blocks);
    void IndexPicture(const CPicBlock* picture);

    IUnknown* m_pControlling;
    std::unordered_map<const ITextBlock*, int32_t> m_textArticles;  // block -> article number
    std::unordered_map<const IPicBlock*, int32_t> m_picArticles;
};

}  // namespace kestrum
