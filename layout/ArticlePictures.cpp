// Pictures go to the article whose titles or body columns they stand among.
#include "layout/AssemblySteps.h"

#include "model/Article.h"
#include "model/PicBlock.h"

#include <vector>

namespace kestrum {

// Every pass that places a picture takes it out of the list, so there are at most
// one pass more than pictures.
void AttachPictures(Assembly& a, CPicBlockArray& pictures) {
    for (bool moved = true; moved;) {
        moved = false;
        std::vector<CPicBlock*> left;
        for (CPicBlock* pic : pictures) {
            CArticle* best = BestArticle(a.articles, [&](const CArticle& article, double& score) {
                return MatchPicture(article, *pic, a.meanTextSize, score);
            });
            if (best) {
                best->m_arrPics.Add(pic);
                moved = true;
            } else {
                left.push_back(pic);
            }
        }
        pictures.Items() = std::move(left);
    }
}

}  // namespace kestrum
