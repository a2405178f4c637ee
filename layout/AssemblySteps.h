// The steps of the article assembly, in the order AssembleBlocks runs them, over the
// working state they share.
#pragma once

#include "model/BlockLists.h"
#include "platform/Rect.h"

namespace kestrum {

class CArticle;
class CArticleArray;
class CPicBlock;
class CPicBlockArray;
class CTextBlock;
class CTextBlockArray;

struct Assembly {
    CArticleArray& articles;  // where the steps build; owns what they place
    double meanTextSize;      // page units: mean font size of the page's text
};

// Each title starts or joins a group of neighbouring title lines, which becomes an
// article's lead, main and subtitle.
void BuildTitleArticles(Assembly& a, CTextBlockArray& titles);

// Whether `rect` lies under (or beside) one of the article's titles, and how well.
bool MatchTitles(const CArticle& article, const Rect& rect, double meanTextSize, double& score);
// The same for a picture, which may also sit among the body's columns.
bool MatchPicture(const CArticle& article, const CPicBlock& pic, double meanTextSize, double& score);

// Body blocks go to the article under whose titles they stand.
void AttachBodies(Assembly& a, CTextBlockArray& texts);
// Articles without body take the text blocks that lie mostly in their region.
void AbsorbCoveredText(Assembly& a, CTextBlockArray& texts);

void AttachPictures(Assembly& a, CPicBlockArray& pictures);

// The article `match` (article, out score) accepts with the highest score; an
// equal score keeps the earlier article. Null when none accepts.
template <class Match>
CArticle* BestArticle(CArticleArray& articles, Match match) {
    CArticle* best = nullptr;
    double bestScore = 0.0;
    for (CArticle* article : articles) {
        double score = 0.0;
        if (match(*article, score) && (!best || score > bestScore)) {
            best = article;
            bestScore = score;
        }
    }
    return best;
}

// Titles left alone become another article's subtitle or lead title where they stand
// level with its main title; the rest stay articles of their own.
void RehomeBareTitles(Assembly& a);

// A single-column main title takes the column direction its article shows.
void ResolveMainLayout(CArticle& article);

}  // namespace kestrum
