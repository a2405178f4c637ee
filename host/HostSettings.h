// The settings object a host hands to Open: an IAppExt over a record built from the
// options a person or pipeline gave.
#pragma once

#include <kestrum/kestrum.h>

#include <string>

struct PageOptions {
    std::string file;
    bool group = false;
    bool resourceLookup = false;
    std::string imageFolders;
    std::string pageImage;
    std::string label;
};

class HostSettings : public IAppExt {
public:
    explicit HostSettings(const PageOptions& options);
    virtual ~HostSettings() = default;
    HostSettings(const HostSettings&) = delete;
    HostSettings& operator=(const HostSettings&) = delete;

    HRESULT ReleaseInfo(AppExtInfo** ppInfo) override;
    HRESULT GetInfo(AppExtInfo** ppInfo, ULONG ulReserved) override;

private:
    std::u16string label_;
    std::u16string pageImage_;
    std::u16string imageFolders_;
    AppExtInfo info_{};
};
