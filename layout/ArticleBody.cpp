// An article's body: the body blocks under its titles, or covered by it, gathered into one block.
#include "layout/AssemblySteps.h"

#include "layout/ArticleRegion.h"
#include "layout/Composite.h"
#include "model/Article.h"
#include "model/TextBlock.h"

#include <memory>
#include <vector>

namespace kestrum {
namespace {

void AddBodyPart(CArticle& article, CTextBlock* block) {
    if (!article.m_pBody) {
        // A container that spans its parts, so that the body counts in the article's region while it grows.
        auto container = std::make_unique<CTextBlock>(article.m_pPageInfo);
        container->InitFrom(*block);
        article.m_pBody = container.release();
    } else {
        article.m_pBody->UnionWith(*block);
    }
    article.m_pBody->m_arrParts.Add(block);
}

// The body under construction becomes one block: its only part, or their composite.
void FinishBody(CArticle& article) {
    CTextBlock* container = article.m_pBody;
    // A body without parts is a block as read, already final.
    if (!container || container->m_arrParts.IsEmpty()) return;
    article.m_pBody = MergeBlocks(container->m_arrParts.Items());
    container->m_arrParts.RemoveAll();
    delete container;
}

}  // namespace

void AttachBodies(Assembly& a, CTextBlockArray& texts) {
    std::vector<CTextBlock*> left;
    for (CTextBlock* block : texts) {
        CArticle* best = BestArticle(a.articles, [&](const CArticle& article, double& score) {
            return MatchTitles(article, block->m_rect, a.meanTextSize, score);
        });
        if (best)
            AddBodyPart(*best, block);
        else
            left.push_back(block);
    }
    texts.Items() = std::move(left);
    for (CArticle* article : a.articles) FinishBody(*article);
}

void AbsorbCoveredText(Assembly& a, CTextBlockArray& texts) {
    for (CArticle* article : a.articles) {
        if (article->m_pBody) continue;
        std::vector<CTextBlock*> left;
        for (CTextBlock* block : texts) {
            if (ArticleCovers(*article, block->m_rect))
                AddBodyPart(*article, block);
            else
                left.push_back(block);
        }
        texts.Items() = std::move(left);
        FinishBody(*article);
    }
}

}  // namespace kestrum
