// Article assembly without grouping: every block of the page becomes an article of its own.
#include "parser/ParserFile.h"

#include "model/Article.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"

#include <memory>

namespace kestrum {

void CParserFile::MakeSingleArticles() {
    for (CTextBlock* block : m_arrTextBlocks) {
        auto article = std::make_unique<CArticle>(block->m_pPageInfo);
        article->m_pBody = block;
        m_pArticles->Add(article.release());
    }
    m_arrTextBlocks.RemoveAll();
    for (CPicBlock* pic : m_arrPicBlocks) {
        auto article = std::make_unique<CArticle>(pic->m_pPageInfo);
        article->m_arrPics.Add(pic);
        m_pArticles->Add(article.release());
    }
    m_arrPicBlocks.RemoveAll();
    FinishArticles();
}

void CParserFile::FinishArticles() {
    int index = 0;
    for (CArticle* article : *m_pArticles) {
        const int32_t pageNo = article->m_pPageInfo ? article->m_pPageInfo->m_nPageNo : 0;
        article->m_nID = static_cast<int32_t>(static_cast<uint32_t>(pageNo) << 16 | (static_cast<uint32_t>(index) & 0xFFFF));
        article->MakeHtml();
        ++index;
    }
}

}  // namespace kestrum
