#include "HostSettings.h"

#include "Utf.h"

HostSettings::HostSettings(const PageOptions& options)
    : label_(ToUtf16(options.label)), pageImage_(ToUtf16(options.pageImage)), imageFolders_(ToUtf16(options.imageFolders)) {
    info_.bResourceLookup = options.resourceLookup ? 1 : 0;
    info_.lReserved = 0;
    info_.bGroupArticles = options.group ? 1 : 0;
    info_.szPageLabel = label_.c_str();
    info_.szPageImage = pageImage_.c_str();
    info_.szImageFolders = imageFolders_.c_str();
}

HRESULT HostSettings::ReleaseInfo(AppExtInfo** ppInfo) {
    if (ppInfo) *ppInfo = nullptr;
    return S_OK;
}

HRESULT HostSettings::GetInfo(AppExtInfo** ppInfo, ULONG) {
    if (!ppInfo) return E_POINTER;
    *ppInfo = &info_;
    return S_OK;
}
