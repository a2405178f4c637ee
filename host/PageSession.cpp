#include "PageSession.h"

#include "ReadPageDoc.h"
#include "Utf.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

IDataAdaptor* CreateAdaptor() {
    IClassFactory* factory = nullptr;
    if (FAILED(DllGetClassObject(CLSID_PSDataAdaptor, IID_IClassFactory, reinterpret_cast<void**>(&factory))) || !factory)
        return nullptr;
    IDataAdaptor* adaptor = nullptr;
    HRESULT hr = factory->CreateInstance(nullptr, IID_IDataAdaptor, reinterpret_cast<void**>(&adaptor));
    factory->Release();
    return SUCCEEDED(hr) ? adaptor : nullptr;
}

// Why `path` cannot be read as a page file, or empty when it can.
std::string NotAPageFile(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return "no such file: " + path;
    // A FIFO or device would be read without end, and a folder not at all.
    if (!S_ISREG(st.st_mode)) return "not a regular file: " + path;
    return {};
}

bool IsNonEmptyFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}

// Whether a file can be created at `path`, found out by creating it.
bool CanCreate(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fclose(f);
    std::remove(path.c_str());
    return true;
}

}  // namespace

std::unique_ptr<PageSession> PageSession::Open(const PageOptions& options, std::string& error, HRESULT* code) {
    HRESULT ignored = S_OK;
    HRESULT& result = code ? *code : ignored;
    result = E_FAIL;
    if (error = NotAPageFile(options.file); !error.empty()) return nullptr;
    if (PageFormatOf(options.file).empty()) {
        error = "not a page kestrum reads (.ps or .s2): " + options.file;
        return nullptr;
    }
    IDataAdaptor* adaptor = CreateAdaptor();
    if (!adaptor) {
        error = "cannot create the page reader component";
        return nullptr;
    }
    auto settings = std::make_unique<HostSettings>(options);
    std::u16string path = ToUtf16(options.file);
    result = adaptor->Open(reinterpret_cast<ULONG_PTR>(static_cast<IAppExt*>(settings.get())), path.c_str());
    if (FAILED(result)) {
        adaptor->Release();
        error = "cannot open " + options.file + " as a page";
        return nullptr;
    }
    std::unique_ptr<PageSession> session(new PageSession(adaptor, std::move(settings), options));
    result = adaptor->LoadPage(1, 0, 0);
    if (FAILED(result)) {
        error = "cannot read the page of " + options.file;
        return nullptr;
    }
    session->doc_ = ReadPageDoc(*adaptor, options.file);
    return session;
}

PageSession::PageSession(IDataAdaptor* adaptor, std::unique_ptr<HostSettings> settings, const PageOptions& options)
    : adaptor_(adaptor), settings_(std::move(settings)), options_(options) {}

PageSession::~PageSession() {
    adaptor_->Close();
    adaptor_->Release();
}

bool PageSession::SavePageImage(const std::string& jpegPath, std::string& error) {
    // The component reports success for a preview it could not copy, so the host
    // checks the output itself: writable before, written after.
    if (!CanCreate(jpegPath)) {
        error = "cannot write " + jpegPath;
        return false;
    }
    std::u16string path = ToUtf16(jpegPath);
    LONG deepen = 0;
    HRESULT hr = adaptor_->SavePageImage(1, 1.0, path.c_str(), &deepen);
    if (SUCCEEDED(hr) && IsNonEmptyFile(jpegPath)) return true;
    std::remove(jpegPath.c_str());
    if (!options_.pageImage.empty())
        error = "cannot draw " + options_.file + ": the page image " + options_.pageImage + " cannot be read";
    else if (doc_.format == "s2")
        error = "cannot draw " + options_.file + ": S2 pages have no proof; give --page-image";
    else
        error = "cannot draw " + options_.file;
    return false;
}

HGLOBAL PageSession::PageImage(std::string& error) {
    if (options_.pageImage.empty()) {
        error = "no page image for " + options_.file + ": give --page-image";
        return nullptr;
    }
    HGLOBAL dib = nullptr;
    if (FAILED(adaptor_->GetPageImage(1, 1.0, &dib)) || !dib) {
        if (dib) GlobalFree(dib);
        error = "cannot read the page image " + options_.pageImage;
        return nullptr;
    }
    return dib;
}
