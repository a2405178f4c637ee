#include "layout/AssembleBlocks.h"

#include "layout/AssemblySteps.h"
#include "model/Article.h"
#include "model/PageInfo.h"
#include "model/PicBlock.h"
#include "model/TextBlock.h"

#include <memory>
#include <vector>

namespace kestrum {
namespace {

void TakeTitles(CTextBlockArray& texts, CTextBlockArray& titles) {
    std::vector<CTextBlock*> others;
    for (CTextBlock* block : texts) {
        if (block->m_nKind == kTextTitle)
            titles.Add(block);
        else
            others.push_back(block);
    }
    texts.Items() = std::move(others);
}

// Whatever found no article heads one of its own.
void MakeLeftoverArticles(Assembly& a, CTextBlockArray& texts) {
    for (CTextBlock* block : texts) {
        auto article = std::make_unique<CArticle>(block->m_pPageInfo);
        (block->m_nKind == kTextTitle ? article->m_pMainTitle : article->m_pBody) = block;
        a.articles.Add(article.release());
    }
    texts.RemoveAll();
}

void MakePictureArticles(Assembly& a, CPicBlockArray& pictures) {
    for (CPicBlock* pic : pictures) {
        auto article = std::make_unique<CArticle>(pic->m_pPageInfo);
        article->m_arrPics.Add(pic);
        a.articles.Add(article.release());
    }
    pictures.RemoveAll();
}

}  // namespace

void AssembleBlocks(CArticleArray& articles, CTextBlockArray& texts, CPicBlockArray* pictures, const CPageInfo& page) {
    Assembly a{articles, page.m_dMeanTextSize};
    CTextBlockArray titles;
    TakeTitles(texts, titles);
    if (!titles.IsEmpty()) BuildTitleArticles(a, titles);
    AttachBodies(a, texts);
    if (pictures) AttachPictures(a, *pictures);
    RehomeBareTitles(a);
    if (!texts.IsEmpty()) AbsorbCoveredText(a, texts);
    MakeLeftoverArticles(a, texts);
    if (pictures) MakePictureArticles(a, *pictures);
    for (CArticle* article : articles) ResolveMainLayout(*article);
}

}  // namespace kestrum
