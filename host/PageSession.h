// One page file opened through the class factory and loaded once, the way any host
// does it; the page document is read from it once, and the page image comes from
// the same loaded page.
#pragma once

#include "HostSettings.h"
#include "PageDoc.h"

#include <kestrum/kestrum.h>

#include <memory>
#include <string>

class PageSession {
public:
    // Null, with a one-line reason in `error`, when the file is missing, is not a page
    // the component reads, or cannot be opened or loaded; `code`, when given, then gets
    // the component's result (E_FAIL where the host refused the file before asking it).
    static std::unique_ptr<PageSession> Open(const PageOptions& options, std::string& error, HRESULT* code = nullptr);
    ~PageSession();
    PageSession(const PageSession&) = delete;
    PageSession& operator=(const PageSession&) = delete;

    const PageDoc& Doc() const { return doc_; }

    // The page image as a JPEG file: the host's preview, or the proof the component
    // draws. False, with a one-line reason, when nothing was written.
    bool SavePageImage(const std::string& jpegPath, std::string& error);

    // The preview image as a packed DIB handle the caller frees with GlobalFree;
    // null, with a one-line reason, without one.
    HGLOBAL PageImage(std::string& error);

private:
    PageSession(IDataAdaptor* adaptor, std::unique_ptr<HostSettings> settings, const PageOptions& options);

    IDataAdaptor* adaptor_;
    std::unique_ptr<HostSettings> settings_;
    PageOptions options_;
    PageDoc doc_;
};
