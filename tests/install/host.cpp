// A host built outside the tree against the installed package: it opens a page given
// on its command line and prints how many text blocks, pictures and articles it has,
// as the page document of kestrum counts them.
#include <kestrum/kestrum.h>

#include <cstdio>
#include <string>

namespace {

LONG CountOf(IBlockList* list) {
    LONG count = -1;
    if (list) list->GetCount(&count);
    if (list) list->Release();
    return count;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: host PAGE\n", stderr);
        return 1;
    }
    IClassFactory* factory = nullptr;
    IDataAdaptor* adaptor = nullptr;
    if (FAILED(DllGetClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
        FAILED(factory->CreateInstance(nullptr, IID_IDataAdaptor, reinterpret_cast<void**>(&adaptor)))) {
        std::fputs("host: no component\n", stderr);
        return 2;
    }
    factory->Release();
    std::u16string path(argv[1], argv[1] + std::char_traits<char>::length(argv[1]));
    if (FAILED(adaptor->Open(0, path.c_str())) || FAILED(adaptor->LoadPage(1, 0, 0))) {
        std::fprintf(stderr, "host: cannot read %s\n", argv[1]);
        adaptor->Release();
        return 2;
    }
    IBlockList *texts = nullptr, *pictures = nullptr, *articles = nullptr;
    adaptor->GetTextList(nullptr, 0, &texts);
    adaptor->GetPicList(nullptr, 0, &pictures);
    adaptor->GetArticleList(0, &articles);
    std::printf("blocks %d pictures %d articles %d\n", CountOf(texts), CountOf(pictures), CountOf(articles));
    adaptor->Close();
    adaptor->Release();
    return 0;
}
