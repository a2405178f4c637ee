// Article assembly: a page's titles, bodies and pictures grouped into articles.
#pragma once

namespace kestrum {

class CArticleArray;
class CPageInfo;
class CPicBlockArray;
class CTextBlockArray;

// Builds articles into `articles` from the blocks of `texts` and `pictures` (may be
// null) and empties both lists: every block ends in some article.
void AssembleBlocks(CArticleArray& articles, CTextBlockArray& texts, CPicBlockArray* pictures, const CPageInfo& page);

}  // namespace kestrum
